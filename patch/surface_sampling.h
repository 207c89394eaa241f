#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "geometry/vec3.h"
#include "patch/bezier_net.h"

namespace korvane {

// One point of an evaluated surface with its unit normal, the cross product of the partial
// derivatives along u and along v, at any scale a float holds. A point where either derivative
// vanishes gets the zero normal, as OpenGL's automatic normals do; so does one whose derivatives
// overflow a float (coordinates near its limit), rather than a normal of NaNs.
struct SurfaceSample {
    Vec3 position;
    Vec3 normal;
};

// v scaled to unit length through its largest component first, so that no square underflows or
// overflows; the zero vector when v is zero or not finite.
Vec3 UnitByLargest(const Vec3& v);

// The unit normal of the surface whose partial derivatives are alongU and alongV, as a sample
// holds it. When the squared length of their cross product underflows or overflows a float (from
// coordinates of about 1e-10 or 1e10 on), the derivatives are brought near 1 first.
Vec3 SurfaceNormal(const Vec3& alongU, const Vec3& alongV);

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
