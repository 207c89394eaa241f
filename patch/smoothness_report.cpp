#include "patch/smoothness_report.h"

#include <algorithm>
#include <cstddef>

#include "patch/patch_facing.h"
#include "patch/tangent_planes.h"

namespace korvane {

SmoothnessReport ReportSmoothness(const PatchObject& object, const CurveFields& fields,
                                  float toleranceDegrees) {
    std::vector<bool> corner(object.Points().size(), false);
    std::vector<bool> side(object.Nodes().size(), false);
    for (const Patch& patch : object.Patches()) {
        if (patch.cornerCount != 3 && patch.cornerCount != 4) {
            continue;
        }
        for (int k = 0; k < patch.cornerCount; ++k) {
            corner[static_cast<std::size_t>(CornerPoint(object, patch, k))] = true;
            side[static_cast<std::size_t>(SegmentOf(patch, k))] = true;
        }
    }
    const std::vector<TangentPlane> planes = FitTangentPlanes(object);
    SmoothnessReport report;
    for (std::size_t p = 0; p < corner.size(); ++p) {
        if (!corner[p]) {
            continue;
        }
        const float residual = planes[p].residualDegrees;
        report.worstResidualDegrees = std::max(report.worstResidualDegrees, residual);
        if (residual > toleranceDegrees) {
            report.offPlanePoints.push_back({static_cast<std::int32_t>(p), residual});
        }
    }
    for (std::size_t n = 0; n < side.size(); ++n) {
        const CreaseReason reason = fields.segments[n].crease;
        if (side[n] && reason != CreaseReason::kNone) {
            report.creaseSegments.push_back({static_cast<std::int32_t>(n), reason});
        }
    }
    return report;
}

}  // namespace korvane
