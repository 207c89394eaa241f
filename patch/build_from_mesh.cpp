#include <algorithm>
#include <vector>

#include "patch/patch_builder.h"

namespace korvane {

void BuildFromMesh(const PolyMesh& mesh, PatchObject& object) {
    // A mesh whose position array is shorter than its count is read only as far as it goes.
    const std::int32_t vertexCount = std::min(mesh.vertexCount(), mesh.positions.count());
    if (vertexCount <= 0) {
        return;
    }
    std::vector<ControlPoint*> pointOfVertex(static_cast<std::size_t>(vertexCount));
    for (std::int32_t i = 0; i < vertexCount; ++i) {
        ControlPoint* point = object.AddControlPoint();
        const Vec3& position = mesh.positions[i];
        point->Set(position.x, position.y, position.z);
        pointOfVertex[static_cast<std::size_t>(i)] = point;
    }
    const auto inRange = [vertexCount](std::int32_t vertex) {
        return vertex >= 0 && vertex < vertexCount;
    };
    for (const MeshEdge& edge : mesh.edges) {
        if (!inRange(edge.first) || !inRange(edge.second)) {
            continue;
        }
        Spline* spline = object.AddSpline();
        const std::int32_t ends[2] = {edge.first, edge.second};
        for (std::int32_t vertex : ends) {
            SplineNode* node = spline->AddNode();
            node->controlPoint = pointOfVertex[static_cast<std::size_t>(vertex)];
            SplineRef* ref = node->controlPoint->AddSplineRef();
            ref->spline = spline;
            ref->node = node;
        }
    }
}

}  // namespace korvane
