#pragma once

#include <cstdint>
#include <vector>

#include "patch/curve_fields.h"
#include "patch/patch_object.h"

namespace korvane {

// Points whose curve tangents leave their best plane by no more than this count as smooth: the
// rounding of float handles alone leaves about 1e-5 degrees, and the normals of the patches next
// to such a point part by about as much as its tangents.
inline constexpr float kCoplanarToleranceDegrees = 0.001f;

// Where the smooth surfaces of an object cannot meet with a common tangent plane, because the
// curve network is not smooth there.
struct SmoothnessReport {
    struct OffPlanePoint {
        std::int32_t point = 0;
        float residualDegrees = 0.0f;  // the tangent furthest out of the best plane
    };
    struct CreaseSegment {
        std::int32_t segment = 0;  // named as SegmentOf names it
        CreaseReason reason = CreaseReason::kNone;
    };

    // Patch corners whose curve tangents lie in no common plane, by more than the tolerance: next
    // to them patches may meet at an angle, one that fades along the curves that leave them.
    std::vector<OffPlanePoint> offPlanePoints;  // in point order
    // Segments under patch sides whose patches keep their own cross-boundary derivatives, as
    // today's nets do, and so share no tangent plane along them.
    std::vector<CreaseSegment> creaseSegments;  // in node order
    float worstResidualDegrees = 0.0f;          // over every patch corner
};

// The points from the tangent planes that FitTangentPlanes finds, the segments from fields.
SmoothnessReport ReportSmoothness(const PatchObject& object, const CurveFields& fields,
                                  float toleranceDegrees = kCoplanarToleranceDegrees);

}  // namespace korvane
