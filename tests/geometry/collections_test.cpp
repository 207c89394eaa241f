#include <gtest/gtest.h>

#include <vector>

#include "geometry/growable_array.h"

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

}  // namespace
}  // namespace korvane
