#include "mesh/poly_mesh.h"

#include <cstdint>

#include "mesh/mesh_checks.h"

namespace korvane {

PolyMesh::~PolyMesh() {
    ReleaseVertices();
}

void PolyMesh::ReleaseVertices() {
    positions.Release();
    vertexTriangles.reset();
    vertexQuads.reset();
    vertexCount_ = 0;
}

void PolyMesh::SetVertexCount(std::int32_t n) {
    ReleaseVertices();
    faceListsValid = 0;  // the per-vertex lists are new and empty
    if (n <= 0) {
        return;
    }
    positions.Allocate(n);
    vertexTriangles = std::make_unique<FaceIndexList[]>(static_cast<std::size_t>(n));
    vertexQuads = std::make_unique<FaceIndexList[]>(static_cast<std::size_t>(n));
    vertexCount_ = n;
}

void PolyMesh::ResizeVertices(std::int32_t n) {
    if (n <= 0) {
        ReleaseVertices();
        return;
    }
    const std::int32_t kept = vertexCount_ < n ? vertexCount_ : n;
    positions.Resize(n);
    for (std::int32_t i = kept; i < n; ++i) {
        positions[i].Clear();
    }
    // The per-vertex face lists are derived data: they start empty and are rebuilt on demand.
    vertexTriangles = std::make_unique<FaceIndexList[]>(static_cast<std::size_t>(n));
    vertexQuads = std::make_unique<FaceIndexList[]>(static_cast<std::size_t>(n));
    faceListsValid = 0;
    vertexCount_ = n;
}

void PolyMesh::SetFaceCount(std::int32_t n) {
    faces.Allocate(n);
}

void PolyMesh::ResizeFaces(FaceList list, std::int32_t n) {
    GrowableArray<MeshFace>& target = list == FaceList::kFaces       ? faces
                                      : list == FaceList::kLines     ? lines
                                      : list == FaceList::kTriangles ? triangles
                                                                     : quads;
    const std::int32_t old = target.count();
    target.Resize(n);
    for (std::int32_t i = old; i < target.count(); ++i) {
        target[i] = MeshFace{};
    }
}

void PolyMesh::SplitFaces() {
    std::int32_t counts[5] = {};
    for (const MeshFace& face : faces) {
        if (face.cornerCount >= 2 && face.cornerCount <= 4) {
            ++counts[face.cornerCount];
        }
    }
    lines.Allocate(counts[2]);
    triangles.Allocate(counts[3]);
    quads.Allocate(counts[4]);
    std::int32_t filled[5] = {};
    for (const MeshFace& face : faces) {
        switch (face.cornerCount) {
            case 2:
                lines[filled[2]++] = face;
                break;
            case 3:
                triangles[filled[3]++] = face;
                break;
            case 4:
                quads[filled[4]++] = face;
                break;
            default:
                break;  // 0, 1 or 5 and more corners: not a line or a face we can use
        }
    }
    faces.Release();
}

void PolyMesh::ClearFaces() {
    faces.Release();
    lines.Release();
    triangles.Release();
    quads.Release();
}

namespace {

// Keeps the records that pass, in order; corners 0 means "use the record's own cornerCount".
std::int32_t DropFrom(GrowableArray<MeshFace>& list, std::int32_t corners,
                      std::int32_t vertexCount) {
    std::int32_t kept = 0;
    for (std::int32_t i = 0; i < list.count(); ++i) {
        MeshFace face = list[i];
        bool valid = true;
        if (corners != 0) {
            valid = mesh_detail::FaceInRange(face, corners, vertexCount);
            face.cornerCount = corners;
        } else if (face.cornerCount >= 2 && face.cornerCount <= 4) {
            valid = mesh_detail::FaceInRange(face, face.cornerCount, vertexCount);
        }
        if (valid) {
            list[kept++] = face;
        }
    }
    const std::int32_t dropped = list.count() - kept;
    if (dropped != 0) {
        list.Resize(kept);  // only lowers the count (a count of 0 keeps the storage too)
    }
    return dropped;
}

}  // namespace

std::int32_t PolyMesh::DropInvalidFaces() {
    const std::int64_t dropped =
        std::int64_t{DropFrom(faces, 0, vertexCount_)} + DropFrom(lines, 2, vertexCount_) +
        DropFrom(triangles, 3, vertexCount_) + DropFrom(quads, 4, vertexCount_);
    if (dropped != 0) {
        edgesValid = 0;
        faceListsValid = 0;
    }
    return dropped > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(dropped);
}

bool PolyMesh::NeedsModifiers() const {
    const bool anyAxis = mirrorAxisX != 0 || mirrorAxisY != 0 || mirrorAxisZ != 0;
    return (lathe != 0 && !lines.empty()) ||
           (mirror != 0 && triangles.count() + quads.count() != 0 && anyAxis);
}

}  // namespace korvane
