#include "patch/patch_builder.h"

namespace korvane {
namespace {

// Handles of one node from its neighbours. Without a neighbour on the far side (hasOther 0), at a
// corner, or when a length is zero, the handle is a straight fraction of the way to its own
// neighbour; otherwise it runs parallel to the chord between the neighbours. The operations are
// kept in this order because handle values are compared bit for bit.
void SetHandles(SplineNode& node, const PatchVec3& previous, bool hasPrevious,
                const PatchVec3& next, bool hasNext) {
    const PatchVec3& centre = *node.controlPoint;
    const PatchVec3 towardsPrevious = Subtract(previous, centre);
    const PatchVec3 towardsNext = Subtract(next, centre);
    const PatchVec3 chord = Subtract(next, previous);
    const float distancePrevious = Length(towardsPrevious);
    const float distanceNext = Length(towardsNext);
    const float chordLength = Length(chord);
    const bool smooth = node.corner == 0 && chordLength != 0.0f;

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

void ComputeSplineHandles(Spline& spline) {
    if (spline.nodes.IsEmpty()) {
        return;
    }
    const bool closed = spline.closed != 0;
    const SplineNode* previous = spline.nodes.GetTail();
    bool hasPrevious = closed;
    for (auto position = spline.nodes.GetHeadPosition(); position;) {
        SplineNode* current = spline.nodes.GetNext(position);
        // At the tail the next node wraps round to the head; it only counts on a closed spline.
        const SplineNode* next = position ? spline.nodes.GetAt(position) : spline.nodes.GetHead();
        const bool hasNext = position ? true : closed;
        SetHandles(*current, *previous->controlPoint, hasPrevious, *next->controlPoint, hasNext);
        hasPrevious = true;
        previous = current;
    }
}

}  // namespace

void ComputeHandles(PatchObject& object) {
    for (Spline* spline : object.splines) {
        ComputeSplineHandles(*spline);
    }
}

}  // namespace korvane
