#include "geometry/fixed_pool.h"

#include <sys/mman.h>

namespace korvane::pool_detail {
Chain Reserve::TakeBatch() {
    const std::lock_guard lock(mutex_);
    if (batches_.empty()) {
        return {};
    }
    const Chain batch = batches_.back();
    batches_.pop_back();
    return batch;
}

void Reserve::Give(Chain chain) {
    const std::lock_guard lock(mutex_);
    batches_.push_back(chain);
}

char* Reserve::NewChunk() {
    // Mapped with its pages present: a big network fills hundreds of megabytes at once, and one
    // call per chunk costs far less than a page fault per page.
    void* const chunk = mmap(nullptr, kChunkBytes, PROT_READ | PROT_WRITE,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (chunk == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const std::lock_guard lock(mutex_);
    ++chunkCount_;
    return static_cast<char*>(chunk);
}

std::size_t Reserve::ChunkCount() {
    const std::lock_guard lock(mutex_);
    return chunkCount_;
}

}  // namespace korvane::pool_detail
