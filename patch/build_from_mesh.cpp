#include <algorithm>

#include "geometry/huge_pages.h"
#include "patch/patch_builder.h"
#include "patch/patch_network_access.h"

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
    const std::int32_t firstPoint = object.PointCount();
    // The references, refStart among them, are indexed once at the end.
    std::vector<PatchVec3>& points = PatchNetworkAccess::Points(object);
    points.resize(points.size() + static_cast<std::size_t>(vertexCount));
    for (std::int32_t i = 0; i < vertexCount; ++i) {
        const Vec3& position = mesh.positions[i];
        points[static_cast<std::size_t>(firstPoint + i)] =
            PatchVec3(position.x, position.y, position.z);
    }
    // Every edge is an open spline of two nodes: the arrays are sized once and filled in place.
    std::vector<SplineNode>& nodes = PatchNetworkAccess::Nodes(object);
    std::vector<std::int32_t>& splineStart = PatchNetworkAccess::SplineStarts(object);
    std::vector<bool>& splineClosed = PatchNetworkAccess::SplineClosedFlags(object);
    const std::size_t firstNode = nodes.size();
    const std::int32_t firstSpline = object.SplineCount();
    nodes.reserve(firstNode + 2 * edgeCount);
    AdviseHugePages(nodes);
    nodes.resize(firstNode + 2 * edgeCount);
    splineStart.resize(splineStart.size() + edgeCount);
    splineClosed.resize(splineClosed.size() + edgeCount, false);
    std::size_t node = firstNode;
    std::size_t spline = static_cast<std::size_t>(firstSpline);
    for (const MeshEdge& edge : mesh.edges) {
        if (inRange(edge.first) && inRange(edge.second)) {
            nodes[node++].controlPoint = firstPoint + edge.first;
            nodes[node++].controlPoint = firstPoint + edge.second;
            splineStart[++spline] = static_cast<std::int32_t>(node);
        }
    }
    object.IndexReferences();
}

}  // namespace korvane
