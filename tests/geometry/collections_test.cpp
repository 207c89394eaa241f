#include <gtest/gtest.h>

#include <vector>

#include "geometry/growable_array.h"
#include "geometry/object_list.h"

namespace korvane {
namespace {

TEST(GrowableArrayTest, ShrinkKeepsContentsForLaterGrowth) {
    GrowableArray<int> a;
    a.Allocate(10);
    for (int i = 0; i < 10; ++i) {
        a[i] = 100 + i;
    }
    a.Resize(4);
    EXPECT_EQ(a.count(), 4);
    EXPECT_EQ(a.capacity(), 10);
    a.Resize(6);
    EXPECT_EQ(a.capacity(), 10);
    EXPECT_EQ(a[4], 104);
    EXPECT_EQ(a[5], 105);
}

TEST(GrowableArrayTest, GrowthIsExactAndKeepsElements) {
    GrowableArray<int> a;
    a.Allocate(10);
    for (int i = 0; i < 10; ++i) {
        a[i] = i * i;
    }
    a.Resize(11);
    EXPECT_EQ(a.capacity(), 11);
    EXPECT_EQ(a.count(), 11);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(a[i], i * i);
    }
}

TEST(GrowableArrayTest, EmptyAllocationsAndResizes) {
    GrowableArray<int> a;
    a.Allocate(0);
    EXPECT_EQ(a.capacity(), 0);
    a.Allocate(-3);
    EXPECT_EQ(a.capacity(), 0);
    EXPECT_EQ(a.count(), 0);
    a.Resize(3);  // from no storage: allocates exactly
    EXPECT_EQ(a.capacity(), 3);
    a.Resize(0);
    EXPECT_EQ(a.count(), 0);
    EXPECT_EQ(a.capacity(), 3);
    a.Resize(-1);
    EXPECT_EQ(a.count(), 0);
    a.Release();
    EXPECT_EQ(a.capacity(), 0);
}

std::vector<int> Contents(const ObjectList<int>& list) {
    std::vector<int> out;
    for (auto position = list.GetHeadPosition(); position;) {
        out.push_back(*list.GetNext(position));
    }
    return out;
}

TEST(ObjectListTest, OrderAndPositions) {
    int values[5] = {0, 1, 2, 3, 4};
    ObjectList<int> list;
    EXPECT_FALSE(list.GetHeadPosition());
    EXPECT_FALSE(list.FindIndex(0));
    list.AddTail(&values[1]);
    list.AddTail(&values[2]);
    list.AddHead(&values[0]);
    EXPECT_EQ(Contents(list), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(*list.GetHead(), 0);
    EXPECT_EQ(*list.GetTail(), 2);
    EXPECT_EQ(*list.GetAt(list.FindIndex(1)), 1);
    EXPECT_FALSE(list.FindIndex(list.GetCount()));
    EXPECT_FALSE(list.FindIndex(-1));

    std::vector<int> backwards;
    for (auto position = list.GetTailPosition(); position;) {
        backwards.push_back(*list.GetPrev(position));
    }
    EXPECT_EQ(backwards, (std::vector<int>{2, 1, 0}));
}

TEST(ObjectListTest, RemovingWhatGetNextReturnedKeepsTheWalkValid) {
    int values[25];
    ObjectList<int> list;
    for (int i = 0; i < 25; ++i) {  // more than two node blocks
        values[i] = i;
        list.AddTail(&values[i]);
    }
    for (auto position = list.GetHeadPosition(); position;) {
        const auto current = position;
        if (*list.GetNext(position) % 2 == 1) {
            list.RemoveAt(current);
        }
    }
    EXPECT_EQ(list.GetCount(), 13);
    std::vector<int> expected;
    for (int i = 0; i < 25; i += 2) {
        expected.push_back(i);
    }
    EXPECT_EQ(Contents(list), expected);

    // Positions of other nodes survive removals and recycled nodes.
    const auto keep = list.FindIndex(3);
    list.RemoveAt(list.FindIndex(0));
    list.AddHead(&values[1]);
    EXPECT_EQ(*list.GetAt(keep), 6);
    list.RemoveAt(list.GetTailPosition());
    EXPECT_EQ(*list.GetTail(), 22);
    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_FALSE(list.GetHeadPosition());
    list.AddTail(&values[7]);
    EXPECT_EQ(Contents(list), (std::vector<int>{7}));
}

}  // namespace
}  // namespace korvane
