#pragma once

#include "geometry/vec3.h"

namespace korvane {

// A:M's axes are those of a Metasequoia file, whose Z the import reverses: a model point goes out
// with Z reversed again, in the model's own units (centimetres, as in A:M). A zero stays 0, not -0.
inline PatchVec3 ToAnimationMasterAxes(const PatchVec3& point) {
    return PatchVec3(point.x, point.y, 0.0f - point.z);
}

}  // namespace korvane
