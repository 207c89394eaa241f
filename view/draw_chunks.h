#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "patch/patch_object.h"

namespace korvane {

// A run of an object's splines or control points drawn as one display list. A big object's are
// cut into runs of about chunkSize line vertices or points, so that no single draw takes long;
// chunkSize 0 keeps them in one run.
struct DrawChunk {
    std::int32_t first = 0;  // the first spline or control point
    std::int32_t end = 0;
    std::size_t size = 0;  // line vertices or points
};

// Runs of whole splines, each of at least one spline; sizes count the vertices that SampleSpline
// gives at curveResolution.
std::vector<DrawChunk> CurveChunks(const PatchObject& object, int curveResolution,
                                   std::size_t chunkSize);

std::vector<DrawChunk> PointChunks(const PatchObject& object, std::size_t chunkSize);

}  // namespace korvane
