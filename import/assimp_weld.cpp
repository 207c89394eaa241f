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

}  // namespace

void WeldPositions(std::span<const float> xyz, std::vector<float>& welded,
                   std::vector<std::uint32_t>& remap) {
    const std::size_t count = xyz.size() / 3;
    welded.clear();
    remap.assign(count, 0);
    // At most half full, so that a probe ends after about two slots.
    std::size_t slots = 16;
    while (slots < 2 * count) {
        slots *= 2;
    }
    const std::size_t mask = slots - 1;
    std::vector<std::uint32_t> table(slots, kEmpty);
    std::uint32_t distinct = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const float* p = xyz.data() + 3 * i;
        const Key key = KeyOf(p);
        std::size_t slot = Hash(key) & mask;
        while (table[slot] != kEmpty && KeyOf(welded.data() + 3 * table[slot]) != key) {
            slot = (slot + 1) & mask;
        }
        if (table[slot] == kEmpty) {
            table[slot] = distinct++;
            welded.insert(welded.end(), p, p + 3);
        }
        remap[i] = table[slot];
    }
}

}  // namespace korvane
