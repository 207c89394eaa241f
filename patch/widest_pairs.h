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

// The joinable pairs of ends at a point where few ends meet (HubPairs takes those where many do):
// the pair whose first segments make the widest angle above the limit, the first such pair in
// reference order on a tie. Each end keeps its widest partner among the ends after it, so that
// after a join only the ends whose partner was taken look again.
class WidestPairs {
  public:
    void Gather(const OpenEnds& ends, const ConnectChains& chains, const PatchObject& object,
                std::int32_t point, float limit);
    std::optional<EndPair> Widest() const;
    // Takes out the two ends of a joined pair. When the first end's chain had its far end here too,
    // the end made anew in its place comes last in the order: the ends are gathered again.
    void Joined(const EndPair& joined, bool farEndHere);

  private:
    struct Arm {
        ChainEnd end;
        PatchVec3 arm;  // from the point to the neighbour of the end
        float length;
        float widest;          // widest angle to a later end, above the limit; 0 without one
        std::int32_t partner;  // that end's place, or -1
        bool alive;
    };

    void FindPartner(std::size_t i);

    const OpenEnds* ends_ = nullptr;
    const ConnectChains* chains_ = nullptr;
    const PatchObject* object_ = nullptr;
    std::int32_t point_ = 0;
    float limit_ = 0.0f;
    std::vector<Arm> arms_;
};

}  // namespace korvane
