#include "document/document_counts.h"

#include <algorithm>

#include "patch/curve_fields.h"
#include "patch/smoothness_report.h"

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
    for (const Patch& patch : object.Patches()) {
        (patch.cornerCount == 3 ? counts.triPatches : counts.quadPatches) += 1;
    }
    return counts;
}

SmoothnessCounts CountSmoothness(const PatchObject& object) {
    const SmoothnessReport report = ReportSmoothness(object, ComputeCurveFields(object));
    return {static_cast<std::int64_t>(report.offPlanePoints.size()), report.worstResidualDegrees,
            static_cast<std::int64_t>(report.creaseSegments.size())};
}

void AddTo(ObjectCounts& totals, const ObjectCounts& counts) {
    totals.controlPoints += counts.controlPoints;
    totals.splines += counts.splines;
    totals.closedSplines += counts.closedSplines;
    totals.nodes += counts.nodes;
    totals.triPatches += counts.triPatches;
    totals.quadPatches += counts.quadPatches;
    if (counts.smoothness) {
        SmoothnessCounts& sum =
            totals.smoothness ? *totals.smoothness : totals.smoothness.emplace();
        sum.pointsOffPlane += counts.smoothness->pointsOffPlane;
        sum.worstResidualDegrees =
            std::max(sum.worstResidualDegrees, counts.smoothness->worstResidualDegrees);
        sum.creaseSides += counts.smoothness->creaseSides;
    }
}

}  // namespace

DocumentCounts CountObjects(const ObjectList<PatchObject>& objects, bool smoothness) {
    DocumentCounts counts;
    for (const PatchObject* object : objects) {
        counts.objects.push_back(CountObject(*object));
        if (smoothness) {
            counts.objects.back().smoothness = CountSmoothness(*object);
        }
        AddTo(counts.totals, counts.objects.back());
    }
    return counts;
}

}  // namespace korvane
