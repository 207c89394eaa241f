#include "patch/patch_builder.h"
#include "patch/patch_network_access.h"

namespace korvane {
namespace {

// Handles of one node from its neighbours. Without a neighbour on the far side (hasOther 0), at a
// corner, or when a length is zero, the handle is a straight fraction of the way to its own
// neighbour; otherwise it runs parallel to the chord between the neighbours. The operations are
// kept in this order because handle values are compared bit for bit.
void SetHandles(SplineNode& node, const PatchVec3& centre, const PatchVec3& previous,
                bool hasPrevious, const PatchVec3& next, bool hasNext) {
    const PatchVec3 towardsPrevious = Subtract(previous, centre);
    const PatchVec3 towardsNext = Subtract(next, centre);
    const PatchVec3 chord = Subtract(next, previous);
    const float distancePrevious = Length(towardsPrevious);
    const float distanceNext = Length(towardsNext);
    const float chordLength = Length(chord);
    const bool smooth = !node.corner && chordLength != 0.0f;

    if (smooth && hasNext && distancePrevious != 0.0f) {
        const PatchVec3 along =
            Divide(Scale(Scale(chord, node.tension), distancePrevious), chordLength);
        node.handleIn = Add(centre, Scale(along, -1.0f));
    } else {
        node.handleIn = Add(centre, Scale(towardsPrevious, node.tension));
    }
    if (smooth && hasPrevious && distanceNext != 0.0f) {
        const PatchVec3 along =
            Divide(Scale(Scale(chord, node.tension), distanceNext), chordLength);
        node.handleOut = Add(centre, along);
    } else {
        node.handleOut = Add(centre, Scale(towardsNext, node.tension));
    }
}

}  // namespace

void ComputeHandles(PatchObject& object) {
    for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
        const std::span<SplineNode> nodes = PatchNetworkAccess::SplineNodes(object, spline);
        if (nodes.empty()) {
            continue;
        }
        const bool closed = object.Closed(spline);
        // The neighbours wrap round at both ends; they only count on a closed spline.
        PatchVec3 previous = object.PointOf(nodes.back());
        PatchVec3 current = object.PointOf(nodes.front());
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            const bool last = i + 1 == nodes.size();
            const PatchVec3 next = object.PointOf(last ? nodes.front() : nodes[i + 1]);
            SetHandles(nodes[i], current, previous, i > 0 || closed, next, !last || closed);
            previous = current;
            current = next;
        }
    }
}

}  // namespace korvane
