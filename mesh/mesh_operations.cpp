#include "mesh/mesh_operations.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "mesh/mesh_checks.h"

// Derived data and copies. BuildEdges lives in build_edges.cpp, Lathe in lathe.cpp, Mirror in
// mirror.cpp.
//
// Bad geometry: a line, triangle or quad with a corner outside 0 .. vertexCount() - 1 (among the
// 2, 3 or 4 corners its list uses) is skipped by every operation here, as if it were not there;
// PolyMesh::DropInvalidFaces removes such records for good and tells the caller how many. An edge
// whose ends are equal or out of range is likewise skipped wherever an edge list is read.

namespace korvane {

using mesh_detail::CopyValidFaces;
using mesh_detail::CountValidEdges;
using mesh_detail::CountValidFaces;
using mesh_detail::EdgeValid;
using mesh_detail::FaceInRange;
using mesh_detail::kLineCorners;
using mesh_detail::kQuadCorners;
using mesh_detail::kTriangleCorners;

void BuildVertexFaceLists(PolyMesh& mesh) {
    mesh.faceListsValid = true;
    const std::int32_t vertexCount = mesh.vertexCount();
    if (vertexCount <= 0 || !mesh.vertexTriangles || !mesh.vertexQuads) {
        return;
    }
    std::vector<std::int32_t> counts(static_cast<std::size_t>(vertexCount));
    auto build = [&](const GrowableArray<MeshFace>& list, std::int32_t corners,
                     FaceIndexList* perVertex) {
        std::fill(counts.begin(), counts.end(), 0);
        for (const MeshFace& face : list) {
            if (FaceInRange(face, corners, vertexCount)) {
                for (std::int32_t k = 0; k < corners; ++k) {
                    ++counts[face.corners[k]];
                }
            }
        }
        for (std::int32_t v = 0; v < vertexCount; ++v) {
            perVertex[v].Allocate(counts[v]);  // a count of 0 leaves the list empty
        }
        std::fill(counts.begin(), counts.end(), 0);  // now the fill position of each list
        for (std::int32_t f = 0; f < list.count(); ++f) {
            const MeshFace& face = list[f];
            if (FaceInRange(face, corners, vertexCount)) {
                for (std::int32_t k = 0; k < corners; ++k) {
                    const std::int32_t v = face.corners[k];
                    perVertex[v][counts[v]++] = f;
                }
            }
        }
    };
    build(mesh.triangles, kTriangleCorners, mesh.vertexTriangles.get());
    build(mesh.quads, kQuadCorners, mesh.vertexQuads.get());
}

void ClearGeometry(PolyMesh& mesh) {
    mesh.SetVertexCount(0);
    mesh.edges.Release();
    mesh.ClearFaces();
    mesh.edgesValid = false;
    mesh.faceListsValid = false;
}

void CopyGeometry(PolyMesh& source, PolyMesh& target) {
    if (&source == &target) {
        // A copy onto itself would clear its own source; it only brings the derived data up to
        // date.
        if (!source.edgesValid) {
            BuildEdges(source);
        }
        BuildVertexFaceLists(source);
        return;
    }
    if (!source.edgesValid) {
        BuildEdges(source);
    }
    ClearGeometry(target);
    target.edgesValid = source.edgesValid;

    const std::int32_t vertexCount = source.vertexCount();
    target.SetVertexCount(vertexCount);
    std::copy_n(source.positions.begin(), std::max(vertexCount, 0), target.positions.begin());

    target.edges.Allocate(CountValidEdges(source.edges, vertexCount));
    std::int32_t at = 0;
    for (const MeshEdge& edge : source.edges) {
        if (EdgeValid(edge, vertexCount)) {
            target.edges[at++] = edge;
        }
    }

    auto copyList = [&](const GrowableArray<MeshFace>& from, std::int32_t corners,
                        GrowableArray<MeshFace>& to) {
        to.Allocate(CountValidFaces(from, corners, vertexCount));
        CopyValidFaces(from, corners, vertexCount, to, 0);
    };
    copyList(source.lines, kLineCorners, target.lines);
    copyList(source.triangles, kTriangleCorners, target.triangles);
    copyList(source.quads, kQuadCorners, target.quads);

    BuildVertexFaceLists(target);
}

void CopySettings(const PolyMesh& source, PolyMesh& target) {
    if (&source == &target) {
        return;
    }
    target.name = source.name;
    target.colour = source.colour;
    target.mirror = source.mirror;
    target.mirrorDistanceSet = source.mirrorDistanceSet;
    target.mirrorAxisX = source.mirrorAxisX;
    target.mirrorAxisY = source.mirrorAxisY;
    target.mirrorAxisZ = source.mirrorAxisZ;
    target.mirrorDistance = source.mirrorDistance;
    target.lathe = source.lathe;
    target.latheAxis = source.latheAxis;
    target.latheSegments = source.latheSegments;
}

void ApplyModifiers(PolyMesh& mesh) {
    PolyMesh latheMesh;
    PolyMesh mirrorMeshes[3];
    PolyMesh* current = &mesh;

    // Each stage reads the previous stage's result and passes the mesh's settings along.
    auto stageDone = [&](PolyMesh& next) {
        CopySettings(*current, next);
        if (current != &mesh) {
            ClearGeometry(*current);
        }
        current = &next;
    };

    if (mesh.lathe) {
        Lathe(*current, latheMesh);
        stageDone(latheMesh);
        mesh.lathe = false;
    }
    if (mesh.mirror != MirrorMode::kNone) {
        const bool axisSet[3] = {mesh.mirrorAxisX, mesh.mirrorAxisY, mesh.mirrorAxisZ};
        for (const Axis axis : kAxes) {
            if (axisSet[IndexOf(axis)]) {
                Mirror(*current, mirrorMeshes[IndexOf(axis)], axis);
                stageDone(mirrorMeshes[IndexOf(axis)]);
            }
        }
        mesh.mirror = MirrorMode::kNone;
    }
    if (current != &mesh) {
        ClearGeometry(mesh);
        CopyGeometry(*current, mesh);
    }
}

}  // namespace korvane
