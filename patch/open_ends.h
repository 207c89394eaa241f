#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "patch/connect_chains.h"
#include "patch/patch_object.h"

namespace korvane {

// The open chain ends at every point, in the points' reference order, for curve connection. A
// point never gains an end it did not start with: a join only removes ends, or makes one anew in
// place of another at the same point, so each point keeps a fixed slot of its first count (twice
// that at a point where many ends meet, whose ends are found by their places, which a sound
// network, where an end is at one point only, keeps). A removed end leaves a gap, so that it is
// taken out without moving the others; a new one goes after the last in use, and the gaps are
// closed up when the slot is full.
class OpenEnds {
  public:
    static constexpr std::int32_t kRemoved = -1;

    // Reads the object's splines and references before connection starts.
    explicit OpenEnds(const PatchObject& object);

    // The places in use of the point's slot, in order: packed ends (see Unpack) and kRemoved gaps.
    std::span<const std::int32_t> InOrder(std::int32_t point) const {
        const auto p = static_cast<std::size_t>(point);
        return {ends_.data() + start_[p], static_cast<std::size_t>(used_[p])};
    }
    static ChainEnd Unpack(std::int32_t packed) { return {packed / 2, (packed & 1) != 0}; }

    void Remove(std::int32_t point, ChainEnd end);
    // Last in the point's order, as a node made anew has the newest reference.
    void Append(std::int32_t point, ChainEnd end);

  private:
    static std::int32_t Pack(ChainEnd end) { return end.chain * 2 + (end.head ? 1 : 0); }
    bool Roomy(std::size_t point) const;
    void CloseGaps(std::size_t point);

    std::vector<std::int32_t> start_;  // point p's slot is ends_[start_[p], start_[p + 1])
    std::vector<std::int32_t> used_;   // per point: places in use at the front of its slot
    std::vector<std::int32_t> ends_;  // chain * 2 + 1 for a head, chain * 2 for a tail, or kRemoved
    std::vector<std::int32_t> place_;  // per packed end at a roomy point: its place in ends_
};

}  // namespace korvane
