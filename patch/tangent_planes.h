#pragma once

#include <vector>

#include "geometry/vec3.h"
#include "patch/patch_object.h"

namespace korvane {

// The plane through a control point that holds the curve tangents there, as far as one does.
struct TangentPlane {
    PatchVec3 normal;              // unit, either way round; zero where the point has no tangent
    float residualDegrees = 0.0f;  // how far the tangent furthest out of the plane leaves it
};

// For every control point, in point order: the plane that fits the directions of every curve
// tangent at the point, each handle of a node that leads along one of its spline's segments,
// best in the least-squares sense. Where the tangents are coplanar (two curves crossing, or curves
// that Connect Curve joined straight through the point) the fit is exact and the residual zero;
// where they span only a line, the plane is one of those through it. Handles on their point count
// for nothing.
std::vector<TangentPlane> FitTangentPlanes(const PatchObject& object);

}  // namespace korvane
