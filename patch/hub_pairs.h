#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "patch/arm_tree.h"
#include "patch/connect_chains.h"
#include "patch/open_ends.h"
#include "patch/patch_object.h"
#include "patch/widest_pairs.h"

namespace korvane {

// The joinable pairs of ends at a point where many ends meet, widest first, as WidestPairs gives
// them: the pair whose first segments make the widest angle above the limit, on a tie the first
// pair in reference order (the earliest first end, then the earliest second end).
//
// Each arm (an end with its first segment) is offered with its widest partner among all the others
// in a heap, widest first and then earliest. A join only takes arms away, so an offer whose partner
// has gone is still an upper bound for its arm: the arm looks for a new partner only when its offer
// comes to the top, rather than every time a partner is taken, and keeps its place there when it
// finds one as wide. The top arm is then the earliest with a pair that wide, and its partner comes
// after it, or that partner's own offer would be above. An end made anew here keeps the arm of the
// far end it replaces and only comes later in the order, which makes it no earlier a partner than
// it was when the other offers were made: they stay upper bounds. The partners are looked for in a
// tree of the arms' directions, which passes over every arm that cannot make an angle as wide as
// the widest found so far: where thousands of ends meet, a join costs about as much as the arms
// that point the same way to within the rounding of an angle, not as much as all the ends there.
class HubPairs {
  public:
    void Gather(const OpenEnds& ends, const ConnectChains& chains, const PatchObject& object,
                std::int32_t point, float limit);
    std::optional<EndPair> Widest();
    // Takes out the two ends of a joined pair. When the first end's chain had its far end here too,
    // the merged chain now ends here with the second end, along the far end's first segment: that
    // arm stays, as that end, and comes last in the order, as a node made anew does.
    void Joined(const EndPair& joined, bool farEndHere);

  private:
    struct Arm {
        ChainEnd end;
        PatchVec3 arm;  // from the point to the neighbour of the end
        float length;
        std::int32_t order;  // place in the point's reference order; arms made anew come last
        std::int32_t twin;   // the arm of the other end of the same chain, or -1 when not here
        bool alive;
    };
    enum class Kind : std::uint8_t {
        kInert,  // zero length: no angle above zero with any finite arm
        kTree,   // in the tree
        kOdd,    // outside the tree's bounds, or any arm at a point with one not finite: measured
                 // with every arm
    };
    // An arm offered with its widest partner at the time it looked.
    struct Offer {
        float angle;
        std::int32_t arm;
        std::int32_t armOrder;
        std::int32_t partner;
        std::int32_t partnerOrder;
    };
    struct Partner {
        float angle = 0.0f;
        std::int32_t arm = -1;
    };

    void LinkTwins();
    void Classify(bool finite);
    void OfferFor(std::int32_t arm);
    void Push(std::int32_t arm, const Partner& partner);
    Partner FindPartner(std::int32_t arm) const;
    void SearchTree(std::int32_t arm, Partner& best) const;
    void Consider(std::int32_t arm, std::int32_t other, Partner& best) const;
    bool Current(std::int32_t arm, std::int32_t order) const {
        const Arm& a = arms_[static_cast<std::size_t>(arm)];
        return a.alive && a.order == order;
    }
    void Kill(std::int32_t arm);
    static bool Below(const Offer& a, const Offer& b);

    float limit_ = 0.0f;
    std::int32_t nextOrder_ = 0;
    std::vector<Arm> arms_;
    std::vector<Offer> heap_;             // a max-heap by Below
    std::vector<std::uint64_t> byChain_;  // chain << 32 | arm, while linking twins
    std::vector<Kind> kinds_;             // per arm
    std::vector<Direction> directions_;   // per arm in the tree
    std::vector<std::int32_t> odd_;
    ArmTree tree_;
};

}  // namespace korvane
