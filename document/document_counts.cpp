#include "document/document_counts.h"

namespace korvane {
namespace {

ObjectCounts CountObject(const PatchObject& object) {
    ObjectCounts counts;
    counts.name = object.name;
    counts.colour = object.colour;
    counts.controlPoints = object.PointCount();
    counts.splines = object.SplineCount();
    for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
        counts.closedSplines += object.Closed(spline) ? 1 : 0;
    }
    counts.nodes = object.NodeCount();
    for (const Patch& patch : object.patches) {
        (patch.cornerCount == 3 ? counts.triPatches : counts.quadPatches) += 1;
    }
    return counts;
}

void AddTo(ObjectCounts& totals, const ObjectCounts& counts) {
    totals.controlPoints += counts.controlPoints;
    totals.splines += counts.splines;
    totals.closedSplines += counts.closedSplines;
    totals.nodes += counts.nodes;
    totals.triPatches += counts.triPatches;
    totals.quadPatches += counts.quadPatches;
}

}  // namespace

DocumentCounts CountObjects(const ObjectList<PatchObject>& objects) {
    DocumentCounts counts;
    for (const PatchObject* object : objects) {
        counts.objects.push_back(CountObject(*object));
        AddTo(counts.totals, counts.objects.back());
    }
    return counts;
}

}  // namespace korvane
