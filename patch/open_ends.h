#pragma once

#include <cstdint>
#include <vector>

#include "patch/connect_chains.h"
#include "patch/patch_object.h"

namespace korvane {

// The open chain ends at every point, in the points' reference order, for curve connection. A
// point never gains an end it did not start with: a join only removes ends, or makes one anew in
// place of another at the same point, so each point keeps a fixed slot of its first count.
class OpenEnds {
  public:
    // Reads the object's splines and references before connection starts.
    explicit OpenEnds(const PatchObject& object);

    std::int32_t Count(std::int32_t point) const { return count_[static_cast<std::size_t>(point)]; }
    ChainEnd Get(std::int32_t point, std::int32_t i) const {
        return Unpack(ends_[static_cast<std::size_t>(start_[static_cast<std::size_t>(point)] + i)]);
    }
    void Remove(std::int32_t point, ChainEnd end);
    // Last in the point's order, as a node made anew has the newest reference.
    void Append(std::int32_t point, ChainEnd end);

  private:
    static std::int32_t Pack(ChainEnd end) { return end.chain * 2 + (end.head ? 1 : 0); }
    static ChainEnd Unpack(std::int32_t packed) { return {packed / 2, (packed & 1) != 0}; }

    std::vector<std::int32_t> start_;  // point p's slot is ends_[start_[p], start_[p + 1])
    std::vector<std::int32_t> count_;  // per point: ends in use at the front of its slot
    std::vector<std::int32_t> ends_;   // chain * 2 + 1 for a head, chain * 2 for a tail
};

}  // namespace korvane
