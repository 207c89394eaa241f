#pragma once

#include <cstdint>
#include <vector>

#include "patch/surface_sampling.h"

namespace korvane {

// A surface with far fewer triangles than the one it stands for, drawn while the view moves.
struct StandInMesh {
    std::vector<SurfaceSample> samples;
    std::vector<std::uint32_t> indices;  // three samples a triangle
};

// The triangles (three indices into samples each) simplified by clustering: the box round them is
// cut into cubes, cellsAlongLongest (at most 127) along its longest side, every corner moves to the
// mean of the samples in its cube, with their mean normal, and the triangles left with three
// different cubes are kept once each, in their winding. Nothing for no triangles or
// cellsAlongLongest below 1.
StandInMesh ClusterTriangles(const std::vector<SurfaceSample>& samples,
                             const std::vector<std::uint32_t>& triangles, int cellsAlongLongest);

}  // namespace korvane
