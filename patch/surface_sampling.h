#pragma once

#include <vector>

#include "geometry/vec3.h"
#include "patch/bezier_net.h"

namespace korvane {

// One point of an evaluated surface with its unit normal, the cross product of the partial
// derivatives along u and along v; a point where either derivative vanishes gets the zero
// normal, as OpenGL's automatic normals do.
struct SurfaceSample {
    Vec3 position;
    Vec3 normal;
};

// The (steps + 1) x (steps + 1) samples of net at u = i / steps and v = j / steps, stored at
// index i + (steps + 1) j. A step count below 1 counts as 1.
void SampleNetGrid(const BezierNet& net, int steps, std::vector<SurfaceSample>& grid);

}  // namespace korvane
