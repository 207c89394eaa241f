#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "geometry/vec3.h"
#include "patch/patch_object.h"

namespace korvane {

// Rows of cubic Bernstein weights (w0, w1, w2, w3) at t = i / m for i = 0 ... m, m = 2 x
// resolution. A resolution below 1 counts as 1.
using CurveWeightTable = std::vector<std::array<float, 4>>;
CurveWeightTable MakeCurveWeightTable(int curveResolution);

// The line-strip vertices of one spline: for every segment from node a to its successor b, one
// vertex per weight row from a's point (t = 0) to b's point (t = 1), with a's handleOut and b's
// handleIn as inner control points. A closed spline adds the segment from its tail to its head, so
// n nodes give (n - 1) or n segments. Appends to vertices.
void SampleSpline(const PatchObject& object, std::int32_t spline, const CurveWeightTable& weights,
                  std::vector<Vec3>& vertices);

}  // namespace korvane
