#include "tools/modelgen/generated_model.h"

namespace korvane::modelgen {

void GeneratedModel::AddVertex(float x, float y, float z) {
    positions.push_back(Vec3{x, y, z});
}

void GeneratedModel::AddFace(std::initializer_list<std::int32_t> faceCorners) {
    corners.insert(corners.end(), faceCorners.begin(), faceCorners.end());
    cornerCounts.push_back(static_cast<std::uint8_t>(faceCorners.size()));
}

}  // namespace korvane::modelgen
