#pragma once

#include <cstdint>
#include <vector>

#include "patch/patch_object.h"
#include "patch/surface_sampling.h"

namespace korvane {

// Samples with their normals and the triangles between them, three sample indices each.
struct SurfaceTessellation {
    std::vector<SurfaceSample> samples;
    std::vector<std::uint32_t> triangles;
};

// The smooth surfaces of every 3- and 4-sided patch of object, in patch order: each piece's grid
// from SampleSmoothPatch at surfaceResolution, every cell cut into two triangles along the
// diagonal of the view's strips and of the surface mesh, counter-clockwise seen from the side the
// normals point to. Nothing is welded and nothing turned: each piece keeps its own samples and
// the direction of its patch. Draws on the patches as they are; empty when they are out of date.
SurfaceTessellation TessellateSmoothSurfaces(const PatchObject& object,
                                             std::int32_t surfaceResolution);

}  // namespace korvane
