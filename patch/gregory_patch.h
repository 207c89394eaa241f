#pragma once

#include <array>
#include <vector>

#include "geometry/vec3.h"
#include "patch/surface_sampling.h"

namespace korvane {

// A bicubic Gregory patch (Gregory, 1974): the twelve border points of a bicubic Bezier net, and
// for each of the four inner points two proposals, one from each of the two sides next to it,
// blended by where on the patch it is evaluated. On a side the patch takes that side's proposals
// alone, so each side's cross-boundary derivative is the one its proposals give, whatever the
// other sides ask of the same inner points.
//
// The border goes round the net of a BezierNet (point (u, v), u and v in 0..3): side 0 along v = 0
// with u rising, side 1 along u = 3 with v rising, side 2 along v = 3 with u falling, side 3 along
// u = 0 with v falling. Point k (0..3) of side s is border[(3 s + k) mod 12], so corner s is
// border[3 s]; GregoryBorderCell gives the net position (u, v) of every border point.
//
// inner[2 s] and inner[2 s + 1] are side s's proposals for the inner points next to its points 1
// and 2: side 0 proposes (1, 1) and (2, 1), side 1 (2, 1) and (2, 2), side 2 (2, 2) and (1, 2),
// side 3 (1, 2) and (1, 1).
struct GregoryPatch {
    std::array<PatchVec3, 12> border;
    std::array<PatchVec3, 8> inner;
};

// The net position (u, v) of border point k (0..11).
constexpr std::array<int, 2> GregoryBorderCell(int k) {
    const int t = k % 3;
    switch (k / 3) {
        case 0:
            return {t, 0};
        case 1:
            return {3, t};
        case 2:
            return {3 - t, 3};
        default:
            return {0, 3 - t};
    }
}

// The point at (u, v) in [0, 1]^2 and the partial derivatives along u and along v, the blending
// weights' own derivatives included. At a corner, where an inner point's two weights both vanish,
// the limit is taken: that point's Bernstein weight and its derivatives vanish there faster than
// its blend moves.
struct GregoryPoint {
    Vec3 position;
    Vec3 alongU;
    Vec3 alongV;
};

// The unit normal there is SurfaceNormal(alongU, alongV).
GregoryPoint EvaluateGregory(const GregoryPatch& patch, float u, float v);

// The (steps + 1) x (steps + 1) samples of patch at u = i / steps and v = j / steps, stored at
// index i + (steps + 1) j, with the normal SampleNetGrid gives from the same derivatives. A step
// count below 1 counts as 1.
void SampleGregoryGrid(const GregoryPatch& patch, int steps, std::vector<SurfaceSample>& grid);

}  // namespace korvane
