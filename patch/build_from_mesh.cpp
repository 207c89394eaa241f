#include <algorithm>

#include "patch/patch_builder.h"

namespace korvane {

void BuildFromMesh(const PolyMesh& mesh, PatchObject& object) {
    // A mesh whose position array is shorter than its count is read only as far as it goes.
    const std::int32_t vertexCount = std::min(mesh.vertexCount(), mesh.positions.count());
    if (vertexCount <= 0) {
        return;
    }
    const auto inRange = [vertexCount](std::int32_t vertex) {
        return vertex >= 0 && vertex < vertexCount;
    };
    std::size_t edgeCount = 0;
    for (const MeshEdge& edge : mesh.edges) {
        edgeCount += inRange(edge.first) && inRange(edge.second) ? 1 : 0;
    }
    object.points.reserve(object.points.size() + static_cast<std::size_t>(vertexCount));
    object.refStart.reserve(object.refStart.size() + static_cast<std::size_t>(vertexCount));
    for (std::int32_t i = 0; i < vertexCount; ++i) {
        const Vec3& position = mesh.positions[i];
        object.AddControlPoint(PatchVec3(position.x, position.y, position.z));
    }
    object.nodes.reserve(object.nodes.size() + 2 * edgeCount);
    object.splineStart.reserve(object.splineStart.size() + edgeCount);
    object.splineClosed.reserve(object.splineClosed.size() + edgeCount);
    for (const MeshEdge& edge : mesh.edges) {
        if (inRange(edge.first) && inRange(edge.second)) {
            const std::int32_t ends[2] = {edge.first, edge.second};
            object.AddSpline(ends);
        }
    }
    object.IndexReferences();
}

}  // namespace korvane
