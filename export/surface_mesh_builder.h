#pragma once

#include <cstdint>
#include <vector>

#include "geometry/vec3.h"
#include "patch/patch_object.h"

namespace korvane {

// The patch surfaces of one object as an indexed triangle mesh.
struct SurfaceMesh {
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;             // one per position: unit, or zero where none exists
    std::vector<std::uint32_t> triangles;  // three positions each, counter-clockwise seen from
                                           // the side the normals point to
};

// Tessellates every 3- and 4-sided patch of object on the grids the view draws at
// surfaceResolution: the same nets, the same sample points, the same triangles of each strip.
// The patches must be current. With smoothSurfaces the grids are those of the smooth surfaces
// (SampleSmoothPatch) instead of the nets': the same borders, so the same welding.
//
// What differs from the view, so that the result is a mesh:
// - Samples on a patch side are one vertex for every patch on that side (the spline segment
//   between the same two nodes), one per control point at the corners; the three nets of a
//   triangle share their inner borders and centre. A welded vertex takes the position of the
//   first patch that reaches it and the normalised sum of the patches' normals.
// - Patches that share a side are turned to face the same way (the loop search finds each patch
//   in an arbitrary direction), and a closed piece of the network faces outwards. A patch is
//   turned by reversing its triangles and negating its normals.
// - Triangles with a repeated corner (collapsed patch sides) are left out.
// - Samples whose positions are not finite (NaN or infinite coordinates in a file, or a surface
//   that overflows a float) are left out with their triangles: no file can hold them.
SurfaceMesh BuildSurfaceMesh(const PatchObject& object, std::int32_t surfaceResolution,
                             bool smoothSurfaces = false);

}  // namespace korvane
