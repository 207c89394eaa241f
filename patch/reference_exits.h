#pragma once

#include <cstdint>
#include <vector>

#include "patch/patch_object.h"

namespace korvane {

// Where each reference of a network leads, for the loop search of patch detection. An exit is a
// reference walked one way, numbered 2r for reference r walked forwards (to the node after its
// node) and 2r + 1 backwards, so that a point's exits in number order are its references in order,
// each forwards before backwards. An exit leads nowhere (-1) past the end of an open spline, and
// from a reference that names no node of its spline on its point.
//
// A busy point, one with more than kBusyReferences references, also has its exits sorted by the
// point they lead to: the search asks it for its exits to a few points instead of walking them all,
// which at a point where thousands of curves meet would cost the square of their number.
class ReferenceExits {
  public:
    static constexpr std::int32_t kBusyReferences = 16;

    // The points of the nodes after and before a reference's node.
    struct Exits {
        std::int32_t next;
        std::int32_t previous;
    };

    explicit ReferenceExits(const PatchObject& object);

    const Exits& Of(std::uint32_t reference) const { return exits_[reference]; }
    std::int32_t ReferenceCount(std::int32_t point) const {
        return object_.RefStarts()[static_cast<std::size_t>(point) + 1] -
               object_.RefStarts()[static_cast<std::size_t>(point)];
    }
    bool Busy(std::int32_t point) const { return ReferenceCount(point) > kBusyReferences; }

    // Appends the exits from a busy point to target, in number order.
    void AppendExitsTo(std::int32_t point, std::int32_t target,
                       std::vector<std::uint32_t>& out) const;
    // True when an exit from a busy point leads to target.
    bool LeadsTo(std::int32_t point, std::int32_t target) const;
    // Appends the points that the exits from point lead to, each once for a busy point and once per
    // exit for any other.
    void AppendTargets(std::int32_t point, std::vector<std::int32_t>& out) const;

  private:
    std::int32_t Target(std::uint32_t exit) const {
        const Exits& exits = exits_[exit / 2];
        return exit % 2 == 0 ? exits.next : exits.previous;
    }
    // A busy point's exits, as (target << 32 | exit), sorted, in sorted_[begin, end).
    struct BusyPoint {
        std::int32_t point;
        std::size_t begin;
        std::size_t end;
    };

    bool Usable(const SplineRef& ref, std::int32_t point) const;
    std::int32_t PointOf(std::int32_t node) const;
    const BusyPoint& BusyEntry(std::int32_t point) const;

    const PatchObject& object_;
    std::vector<Exits> exits_;     // per reference
    std::vector<BusyPoint> busy_;  // in point order
    std::vector<std::uint64_t> sorted_;
};

}  // namespace korvane
