#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "geometry/fixed_pool.h"
#include "geometry/object_list.h"

namespace korvane {
namespace {

// Block sizes that no record of the program uses, so that these tests see their pools alone.
using TestPool = FixedPool<200>;
using ThreadPool = FixedPool<216>;

TEST(FixedPoolTest, BlocksAcrossSeveralChunksAreDistinctAndKeepTheirContents) {
    std::vector<unsigned char*> blocks;
    const std::size_t count = 2 * TestPool::kBatchBlocks + 7;
    for (std::size_t i = 0; i < count; ++i) {
        blocks.push_back(static_cast<unsigned char*>(TestPool::Allocate()));
        std::memset(blocks.back(), static_cast<int>(i % 251), 200);
    }
    for (std::size_t i = 0; i < count; ++i) {
        ASSERT_EQ(blocks[i][0], i % 251) << i;
        ASSERT_EQ(blocks[i][199], i % 251) << i;
    }
    for (unsigned char* block : blocks) {
        TestPool::Release(block);
    }
}

// A conversion runs on a thread of its own each time: what one thread frees must serve the next,
// or memory would grow with every run.
TEST(FixedPoolTest, BlocksFreedByAThreadThatEndedServeTheNextThread) {
    if (!kPooledAllocation) {
        GTEST_SKIP() << "sanitizer build: every block is allocated on its own";
    }
    const auto churn = [] {
        std::vector<void*> blocks;
        for (std::size_t i = 0; i < 3 * ThreadPool::kBatchBlocks; ++i) {
            blocks.push_back(ThreadPool::Allocate());
        }
        for (void* block : blocks) {
            ThreadPool::Release(block);
        }
    };
    std::thread(churn).join();
    const std::size_t chunks = ThreadPool::ChunkCount();
    EXPECT_GE(chunks, 3u);
    std::thread(churn).join();
    std::thread(churn).join();
    EXPECT_EQ(ThreadPool::ChunkCount(), chunks);
}

TEST(FixedPoolTest, BlocksMadeOnOneThreadAreFreedOnAnother) {
    std::vector<void*> blocks;
    for (int i = 0; i < 1000; ++i) {
        blocks.push_back(TestPool::Allocate());
    }
    std::thread([&blocks] {
        for (void* block : blocks) {
            TestPool::Release(block);
        }
    }).join();
    void* again = TestPool::Allocate();
    EXPECT_NE(again, nullptr);
    TestPool::Release(again);
}

TEST(FixedPoolTest, ListsThatShareThePoolKeepTheirOwnNodes) {
    int values[40];
    ObjectList<int> even;
    ObjectList<int> odd;
    for (int i = 0; i < 40; ++i) {
        values[i] = i;
        (i % 2 == 0 ? even : odd).AddTail(&values[i]);
    }
    // Freed nodes of one list go straight into the other.
    for (int round = 0; round < 3; ++round) {
        even.RemoveAt(even.GetHeadPosition());
        odd.AddTail(even.GetHead());
    }
    int sum = 0;
    for (int* value : odd) {
        sum += *value;
    }
    EXPECT_EQ(odd.GetCount(), 23);
    EXPECT_EQ(even.GetCount(), 17);
    EXPECT_EQ(*odd.GetTail(), 6);
    EXPECT_EQ(sum, 400 + 2 + 4 + 6);
}

}  // namespace
}  // namespace korvane
