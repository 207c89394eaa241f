#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geometry/vec3.h"

namespace korvane::modelgen {

// One object as a model file holds it: positions in the Metasequoia file's own units and axes,
// and faces (2 corners: a line, 3: a triangle, 4: a quad) with their corners back to back.
struct GeneratedModel {
    std::string name;
    std::vector<Vec3> positions;
    std::vector<std::int32_t> corners;
    std::vector<std::uint8_t> cornerCounts;  // one per face

    // Modifier settings; only the Metasequoia formats can carry them.
    std::int32_t mirror = 0;      // 0 none, 1 separate, 2 connected
    std::int32_t mirrorAxes = 0;  // bit 0 X, bit 1 Y, bit 2 Z
    std::int32_t lathe = 0;
    std::int32_t latheAxis = 1;
    std::int32_t latheSegments = 12;

    std::int64_t FaceCount() const { return static_cast<std::int64_t>(cornerCounts.size()); }
    void AddVertex(float x, float y, float z);
    void AddFace(std::initializer_list<std::int32_t> faceCorners);
};

}  // namespace korvane::modelgen
