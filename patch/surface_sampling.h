#pragma once

#include <array>
#include <cstdint>
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

// The nets that cover the surface of a patch of object: QuadNet's one for four corners,
// TriangleNets' three for three corners, none for any other count. Returns how many were filled.
int SurfaceNets(const PatchObject& object, const Patch& patch, std::array<BezierNet, 3>& nets);

// Grid steps across each of a patch's netCount nets at a surface resolution (below 1 counts as
// 1): 2 x resolution for a quad's net, resolution for each of a triangle's, so that every side of
// every patch is cut into 2 x resolution steps.
int SurfaceNetSteps(int netCount, std::int32_t surfaceResolution);

}  // namespace korvane
