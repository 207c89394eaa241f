#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "geometry/huge_pages.h"

// A set of unordered pairs of non-negative vertex indices, for the removed-line list of the
// connected mirror (internal to mesh/). Open
// addressing over a table at least twice the largest number of pairs ever inserted, so it never
// fills; it only answers membership, the callers keep their own output order.

namespace korvane::mesh_detail {

class PairSet {
  public:
    // maxPairs: an upper bound on the number of Insert calls that can succeed.
    explicit PairSet(std::int64_t maxPairs) {
        std::size_t size = 16;
        while (static_cast<std::int64_t>(size) < 2 * maxPairs) {
            size <<= 1;
        }
        slots_.reserve(size);
        AdviseHugePages(slots_);
        slots_.assign(size, 0);
        mask_ = size - 1;
    }

    // Adds {a, b}; false when it (or {b, a}) was already there. a and b must be >= 0.
    bool Insert(std::int32_t a, std::int32_t b) {
        const std::uint64_t key = Key(a, b);
        for (std::size_t i = Hash(key) & mask_;; i = (i + 1) & mask_) {
            if (slots_[i] == key) {
                return false;
            }
            if (slots_[i] == 0) {
                slots_[i] = key;
                return true;
            }
        }
    }

    bool Contains(std::int32_t a, std::int32_t b) const {
        if (a < 0 || b < 0) {
            return false;
        }
        const std::uint64_t key = Key(a, b);
        for (std::size_t i = Hash(key) & mask_;; i = (i + 1) & mask_) {
            if (slots_[i] == key) {
                return true;
            }
            if (slots_[i] == 0) {
                return false;
            }
        }
    }

  private:
    // Never 0, which marks an empty slot.
    static std::uint64_t Key(std::int32_t a, std::int32_t b) {
        const auto low = static_cast<std::uint64_t>(static_cast<std::uint32_t>(std::min(a, b)));
        const auto high = static_cast<std::uint64_t>(static_cast<std::uint32_t>(std::max(a, b)));
        return ((low << 32) | high) + 1;
    }

    static std::size_t Hash(std::uint64_t key) {
        key ^= key >> 30;
        key *= 0xbf58476d1ce4e5b9ULL;
        key ^= key >> 27;
        key *= 0x94d049bb133111ebULL;
        key ^= key >> 31;
        return static_cast<std::size_t>(key);
    }

    std::vector<std::uint64_t> slots_;
    std::size_t mask_ = 0;
};

}  // namespace korvane::mesh_detail
