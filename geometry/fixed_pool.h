#pragma once

#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

// Memory for the many small records of a patch network (list nodes, points, spline nodes,
// references, patches), handed out in blocks of one size cut from large chunks. A malloc header
// per record would cost about a fifth more memory at a million faces, and freeing millions of
// mixed sizes made the allocator's consolidation a large share of the run time.
//
// Each thread keeps its own list of free blocks, so that allocation and release take no lock. A
// thread that gathers more free blocks than it is likely to reuse, or that ends, hands them in
// batches to a reserve shared by all threads; a thread that runs out takes a batch from there, or
// a new chunk. Chunks are never given back to the system: freed blocks wait for the next network.
//
// Builds with AddressSanitizer or ThreadSanitizer allocate every block on its own instead, so that
// a use after free or a race on a recycled block stays visible.

namespace korvane {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KORVANE_POOLED_ALLOCATION 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer)
#define KORVANE_POOLED_ALLOCATION 0
#endif
#endif
#ifndef KORVANE_POOLED_ALLOCATION
#define KORVANE_POOLED_ALLOCATION 1
#endif

inline constexpr bool kPooledAllocation = KORVANE_POOLED_ALLOCATION != 0;

namespace pool_detail {

struct FreeBlock {
    FreeBlock* next;
};

struct Chain {
    FreeBlock* head = nullptr;
    std::size_t length = 0;
};

inline constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

// The free blocks of one size that no thread holds.
class Reserve {
  public:
    explicit Reserve(std::size_t blockSize) : blockSize_(blockSize) {}

    // A batch of free blocks handed back by a thread; empty when there is none.
    Chain TakeBatch();
    void Give(Chain chain);
    // A new chunk of kChunkBytes, handed out from the front as records are made, so that records
    // made one after another sit side by side.
    char* NewChunk();
    std::size_t ChunkCount();

  private:
    std::mutex mutex_;
    const std::size_t blockSize_;
    std::vector<Chain> batches_;
    std::size_t chunkCount_ = 0;
};

}  // namespace pool_detail

// Blocks of kBlockSize bytes, aligned for any record of pointers and 32-bit numbers.
template <std::size_t kBlockSize>
class FixedPool {
    static_assert(kBlockSize >= sizeof(void*) && kBlockSize % alignof(void*) == 0);

  public:
    static constexpr std::size_t kBatchBlocks = pool_detail::kChunkBytes / kBlockSize;

    static void* Allocate() {
        if constexpr (!kPooledAllocation) {
            return ::operator new(kBlockSize);
        }
        Cache& cache = cache_;
        if (cache.free.head == nullptr && !cache.TakeFullBatch() &&
            cache.unused == cache.unusedEnd) {
            cache.Refill();
        }
        pool_detail::FreeBlock* block = cache.free.head;
        if (block == nullptr) {
            void* fresh = cache.unused;
            cache.unused += kBlockSize;
            return fresh;
        }
        cache.free.head = block->next;
        --cache.free.length;
        return block;
    }

    static void Release(void* memory) noexcept {
        if constexpr (!kPooledAllocation) {
            ::operator delete(memory);
            return;
        }
        Cache& cache = cache_;
        auto* block = static_cast<pool_detail::FreeBlock*>(memory);
        block->next = cache.free.head;
        cache.free.head = block;
        if (++cache.free.length >= kBatchBlocks) {
            cache.SetAsideFullBatch();
        }
    }

    // Chunks cut so far for blocks of this size, by all threads.
    static std::size_t ChunkCount() { return SharedReserve().ChunkCount(); }

  private:
    // A thread's blocks: the list it allocates from and releases to, and at most one full batch
    // set aside. A batch changes hands without walking it (the blocks are cold, and a walk would
    // cost a cache miss each), and the batch set aside keeps a thread that allocates and releases
    // around a batch boundary from taking the lock every time.
    struct Cache {
        pool_detail::Chain free;
        pool_detail::Chain full;
        char* unused = nullptr;  // the part of the newest chunk not handed out yet, in order
        char* unusedEnd = nullptr;

        // A thread that ends hands back all it holds, the untouched rest of its chunk included.
        ~Cache() {
            for (; unused != unusedEnd; unused += kBlockSize) {
                auto* block = reinterpret_cast<pool_detail::FreeBlock*>(unused);
                block->next = free.head;
                free.head = block;
                ++free.length;
            }
            for (pool_detail::Chain* chain : {&free, &full}) {
                if (chain->head != nullptr) {
                    SharedReserve().Give(*chain);
                    *chain = {};
                }
            }
        }

        bool TakeFullBatch() {
            if (full.head == nullptr) {
                return false;
            }
            free = full;
            full = {};
            return true;
        }

        void SetAsideFullBatch() {
            if (full.head != nullptr) {
                SharedReserve().Give(full);
            }
            full = free;
            free = {};
        }

        // Takes a batch from the reserve, or else a new chunk.
        void Refill() {
            free = SharedReserve().TakeBatch();
            if (free.head == nullptr) {
                unused = SharedReserve().NewChunk();
                unusedEnd = unused + kBatchBlocks * kBlockSize;
            }
        }
    };

    // Never destroyed: records in static objects may be released after every destructor ran.
    static pool_detail::Reserve& SharedReserve() {
        static auto* const reserve = new pool_detail::Reserve(kBlockSize);
        return *reserve;
    }

    static inline thread_local Cache cache_;
};

// The pool block that holds a record of `size` bytes.
constexpr std::size_t PoolBlockSize(std::size_t size) {
    return (size + alignof(void*) - 1) / alignof(void*) * alignof(void*);
}

// For class-level operator new and delete of a record class: a block from the pool of the
// record's size. A derived class of another size is allocated on its own.
template <class Record>
void* AllocateRecord(std::size_t size) {
    if (size != sizeof(Record)) {
        return ::operator new(size);
    }
    return FixedPool<PoolBlockSize(sizeof(Record))>::Allocate();
}

template <class Record>
void ReleaseRecord(void* memory, std::size_t size) noexcept {
    if (size != sizeof(Record)) {
        ::operator delete(memory);
        return;
    }
    FixedPool<PoolBlockSize(sizeof(Record))>::Release(memory);
}

}  // namespace korvane
