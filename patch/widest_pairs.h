#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "patch/connect_chains.h"
#include "patch/open_ends.h"
#include "patch/patch_object.h"

namespace korvane {

// Two open ends at one point, first before second in the point's reference order, and their
// places among the point's gathered ends.
struct EndPair {
    ChainEnd first;
    ChainEnd second;
    std::int32_t firstPlace;
    std::int32_t secondPlace;
};

// The joinable pairs of ends at one point: the pair whose first segments make the widest angle
// above the limit, the first such pair in reference order on a tie. Each end keeps its widest
// partner among the ends after it, so that after a join only the ends whose partner was taken
// look again: a point where thousands of ends meet costs the square of their number once, not
// once per join.
class WidestPairs {
  public:
    void Gather(const OpenEnds& ends, const ConnectChains& chains, const PatchObject& object,
                std::int32_t point, float limit);
    std::optional<EndPair> Widest() const;
    // Takes the two ends of a joined pair out.
    void Drop(const EndPair& joined, float limit);

  private:
    struct Arm {
        ChainEnd end;
        PatchVec3 arm;  // from the point to the neighbour of the end
        float length;
        float widest;          // widest angle to a later end, above the limit; 0 without one
        std::int32_t partner;  // that end's place, or -1
        bool alive;
    };

    void FindPartner(std::size_t i, float limit);

    std::vector<Arm> arms_;
};

}  // namespace korvane
