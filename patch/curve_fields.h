#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "geometry/vec3.h"
#include "patch/patch_object.h"

namespace korvane {

// Why the patches on a segment keep their own cross-boundary derivatives instead of one shared
// field: a corner node at an end asks for a crease; three or more patches cannot all share one
// tangent plane; and two patches that meet at a crease at both ends of the segment would only
// ripple if made to share a plane in between.
enum class CreaseReason : std::uint8_t { kNone, kCornerNode, kManyPatches, kCreasedEnds };

// Two patches whose tangent planes at an end of their common segment lie further apart than this
// meet at a crease there: the bend at which Connect Curve, at its usual 150 degrees, stops joining.
inline constexpr double kCreaseDegrees = 30.0;

// The direction across one cubic curve along which its patches meet (Chiyokura and Kimura, 1983):
// at each end the unit vector in the tangent plane there that is perpendicular to the curve,
// g(t) = (1 - t) start + t end in between. Both patches on the curve fit their cross-boundary
// derivatives into the span of g(t) and the curve's own derivative, so that they share the
// tangent plane all along it.
struct CurveField {
    PatchVec3 start;
    PatchVec3 end;
    CreaseReason crease = CreaseReason::kNone;
};

// The field across curve (a cubic Bezier Q0..Q3) given the tangent-plane normals at its ends,
// whichever way round they are: the end normal is turned to agree with the start one. Where the
// curve leaves an end with a zero derivative, its direction there is that of the first control
// point apart from the end; a curve of zero length gets the zero field.
CurveField FieldAcross(const std::array<PatchVec3, 4>& curve, const PatchVec3& startNormal,
                       const PatchVec3& endNormal);

// What the smooth surfaces of one object are built from, computed once for all its patches: per
// node, the field of the spline segment the node leaves forwards (the segment's name in
// SegmentOf). Only segments under a patch side are set.
//
// The normal at each end of a segment is that of its patches' corners there: halfway between the
// two corners' planes where two patches share the segment, that of the one corner that has a plane
// where the other has none (its sides run along one line), and that of the segment's other end
// where neither has. Where the curve tangents at the point are coplanar, every corner lies in
// their plane and so does this normal; where they are not, the two patches still meet in a plane of
// their own, and a crease elsewhere round the point does not bend them.
struct CurveFields {
    std::vector<CurveField> segments;
};

CurveFields ComputeCurveFields(const PatchObject& object);

// The cubic under side `side` of patch, from the side's first corner to its last.
std::array<PatchVec3, 4> SideCurve(const PatchObject& object, const Patch& patch, int side);

}  // namespace korvane
