#include "import/assimp_weld.h"

#include <bit>

namespace korvane {
namespace {

constexpr std::uint32_t kEmpty = UINT32_MAX;

std::uint32_t KeyBits(float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    return bits == 0x80000000u ? 0u : bits;  // -0.0 is +0.0
}

struct Key {
    std::uint32_t x, y, z;
    bool operator==(const Key&) const = default;
};

Key KeyOf(const float* p) {
    return {KeyBits(p[0]), KeyBits(p[1]), KeyBits(p[2])};
}

// Positions on a grid differ in a few low mantissa bits: every bit must reach the table index.
std::uint64_t Hash(const Key& k) {
    std::uint64_t h = (std::uint64_t{k.x} << 32 | k.y) * 0x9E3779B97F4A7C15ull;
    h ^= (h >> 29) ^ (std::uint64_t{k.z} * 0xC2B2AE3D27D4EB4Full);
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ull;
    h ^= h >> 32;
    return h;
}

// The positions met lately, by hash, with their welded index: a split vertex comes back within
// the next few faces, or a row of faces later, and is found here in a table that stays in the
// cache, while the full table outgrows it on a big mesh and costs two misses a look-up.
class RecentPositions {
  public:
    static constexpr int kBits = 14;  // 16384 entries of 16 bytes

    std::uint32_t Find(const Key& key, std::uint64_t hash) const {
        const Entry& entry = entries_[Slot(hash)];
        return entry.key == key ? entry.index : kEmpty;
    }
    void Keep(const Key& key, std::uint64_t hash, std::uint32_t index) {
        entries_[Slot(hash)] = {key, index};
    }

  private:
    struct Entry {
        Key key;
        std::uint32_t index = kEmpty;
    };
    // The high bits: the full table takes the low ones.
    static std::size_t Slot(std::uint64_t hash) { return hash >> (64 - kBits); }

    std::vector<Entry> entries_ = std::vector<Entry>(std::size_t{1} << kBits);
};

// Open addressing on indices into the welded positions, at most half full so that a probe ends
// after about two slots. It starts sized for a quarter of the vertices being distinct (a quad
// mesh split per face) and doubles when full, so that it stays as small as the welded mesh.
class WeldTable {
  public:
    WeldTable(std::size_t expected, const std::vector<float>& welded) : welded_(welded) {
        Resize(expected);
    }

    // The welded index of the position, or kEmpty; the slot is kept for Insert.
    std::uint32_t Find(const Key& key, std::uint64_t hash) {
        slot_ = hash & mask_;
        while (slots_[slot_] != kEmpty &&
               KeyOf(welded_.data() + 3 * std::size_t{slots_[slot_]}) != key) {
            slot_ = (slot_ + 1) & mask_;
        }
        return slots_[slot_];
    }

    // Records `index` in the slot where the last Find ended.
    void Insert(std::uint32_t index) {
        slots_[slot_] = index;
        if (2 * (std::size_t{index} + 1) > slots_.size()) {
            Resize(2 * slots_.size());
        }
    }

  private:
    void Resize(std::size_t wanted) {
        std::size_t size = 16;
        while (size < wanted) {
            size *= 2;
        }
        slots_.assign(size, kEmpty);
        mask_ = size - 1;
        const auto distinct = static_cast<std::uint32_t>(welded_.size() / 3);
        for (std::uint32_t v = 0; v < distinct; ++v) {
            const Key key = KeyOf(welded_.data() + 3 * std::size_t{v});
            Find(key, Hash(key));
            slots_[slot_] = v;
        }
    }

    const std::vector<float>& welded_;
    std::vector<std::uint32_t> slots_;
    std::size_t mask_ = 0;
    std::size_t slot_ = 0;
};

}  // namespace

void WeldPositions(std::span<const float> xyz, std::vector<float>& welded,
                   std::vector<std::uint32_t>& remap) {
    const std::size_t count = xyz.size() / 3;
    welded.clear();
    remap.assign(count, 0);
    WeldTable table(count / 2, welded);
    RecentPositions recent;
    for (std::size_t i = 0; i < count; ++i) {
        const float* p = xyz.data() + 3 * i;
        const Key key = KeyOf(p);
        const std::uint64_t hash = Hash(key);
        std::uint32_t index = recent.Find(key, hash);
        if (index == kEmpty) {
            index = table.Find(key, hash);
            if (index == kEmpty) {
                index = static_cast<std::uint32_t>(welded.size() / 3);
                welded.insert(welded.end(), p, p + 3);
                table.Insert(index);
            }
            recent.Keep(key, hash, index);
        }
        remap[i] = index;
    }
}

}  // namespace korvane
