#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "patch/patch_object.h"
#include "patch/surface_sampling.h"
#include "view/stand_in_mesh.h"

namespace korvane {

// The most surface samples of one object drawn in full while the camera moves.
inline constexpr std::size_t kMovingSurfaceSamples = 1'000'000;

// The surfaces of an object sampled once, laid out for the vertex and index buffers that every
// frame draws without sampling again.
struct SurfaceMesh {
    std::vector<SurfaceSample> samples;
    // Three sample indices a triangle.
    std::vector<std::uint32_t> indices;
    // Two triangles through the corners of every net, in the nets' winding; empty for smooth
    // surfaces.
    std::vector<std::uint32_t> coarse;
    // What is drawn while the view moves, when the mesh is too big to keep up with it.
    StandInMesh standIn;

    void Clear();
};

// Gives mesh the stand-in of its coarse triangles (of all its triangles when it has none) when it
// holds more than kMovingSurfaceSamples samples.
void AddStandIn(SurfaceMesh& mesh);

// Appends the net surfaces of the patches [first, end) of object at surfaceResolution (below 1
// counts as 1): every net's grid of SampleNetGrid, the triangles of the evaluator's mesh strips in
// their order and winding, and two coarse triangles per net with the same winding. Patches of
// other than 3 or 4 corners add nothing.
void AppendNetSurfaces(const PatchObject& object, std::int32_t surfaceResolution, std::size_t first,
                       std::size_t end, SurfaceMesh& mesh);

// Every net surface of object; empty while its patches are out of date. keepGoing, when given, is
// asked with the patches sampled so far after every few thousand samples; false stops the
// sampling with what it has.
SurfaceMesh NetSurfaceMesh(const PatchObject& object, std::int32_t surfaceResolution,
                           const std::function<bool(std::size_t)>& keepGoing = {});

// About how many samples the net surfaces of object hold at surfaceResolution: every patch
// counted as a quad.
std::size_t NetSurfaceSamples(const PatchObject& object, std::int32_t surfaceResolution);

// The smooth surfaces of TessellateSmoothSurfaces without a coarse stand-in.
SurfaceMesh SmoothSurfaceMesh(const PatchObject& object, std::int32_t surfaceResolution);

}  // namespace korvane
