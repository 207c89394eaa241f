#include "mesh/mesh_editor.h"

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

void MeshEditor::BuildVertexFaceLists() {
    if (target_ == nullptr) {
        return;
    }
    PolyMesh& mesh = *target_;
    mesh.faceListsValid = 1;
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

void MeshEditor::ClearGeometry() {
    if (target_ == nullptr) {
        return;
    }
    target_->ReleaseVertices();
    target_->edges.Release();
    target_->ClearFaces();
    target_->edgesValid = 0;
    target_->faceListsValid = 0;
}

void MeshEditor::CopyGeometryFrom(PolyMesh& source) {
    if (target_ == nullptr) {
        return;
    }
    if (&source == target_) {
        // A copy onto itself would clear its own source; it only brings the derived data up to
        // date.
        if (source.edgesValid == 0) {
            BuildEdges();
        }
        BuildVertexFaceLists();
        return;
    }
    if (source.edgesValid == 0) {
        MeshEditor(&source).BuildEdges();
    }
    ClearGeometry();
    PolyMesh& target = *target_;
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

    BuildVertexFaceLists();
}

void MeshEditor::CopySettingsFrom(const PolyMesh& source) {
    if (target_ == nullptr || &source == target_) {
        return;
    }
    PolyMesh& target = *target_;
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

void MeshEditor::ApplyModifiers() {
    if (target_ == nullptr) {
        return;
    }
    PolyMesh& target = *target_;
    PolyMesh latheMesh;
    PolyMesh mirrorMeshes[3];
    MeshEditor editor;
    PolyMesh* current = &target;

    // Each stage reads the previous stage's result and passes the target's settings along.
    auto stageDone = [&](PolyMesh* next) {
        editor.CopySettingsFrom(*current);
        if (current != &target) {
            MeshEditor(current).ClearGeometry();
        }
        current = next;
    };

    if (target.lathe != 0) {
        editor.Bind(&latheMesh);
        editor.Lathe(*current);
        stageDone(&latheMesh);
        target.lathe = 0;
    }
    if (target.mirror != 0) {
        const std::int32_t axisSet[3] = {target.mirrorAxisX, target.mirrorAxisY,
                                         target.mirrorAxisZ};
        for (int axis = 0; axis < 3; ++axis) {
            if (axisSet[axis] != 0) {
                editor.Bind(&mirrorMeshes[axis]);
                editor.Mirror(*current, axis);
                stageDone(&mirrorMeshes[axis]);
            }
        }
        target.mirror = 0;
    }
    if (current != &target) {
        ClearGeometry();
        CopyGeometryFrom(*current);
    }
}

}  // namespace korvane
