#include "mesh/poly_mesh.h"

namespace korvane {

PolyMesh::~PolyMesh() { ReleaseVertices(); }

void PolyMesh::ReleaseVertices() {
    positions.Release();
    vertexTriangles.reset();
    vertexQuads.reset();
    vertexCount_ = 0;
}

void PolyMesh::SetVertexCount(std::int32_t n) {
    ReleaseVertices();
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

void PolyMesh::SetFaceCount(std::int32_t n) { faces.Allocate(n); }

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
            case 2: lines[filled[2]++] = face; break;
            case 3: triangles[filled[3]++] = face; break;
            case 4: quads[filled[4]++] = face; break;
            default: break;  // 0, 1 or 5 and more corners: not a line or a face we can use
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

bool PolyMesh::NeedsModifiers() const {
    const bool anyAxis = mirrorAxisX != 0 || mirrorAxisY != 0 || mirrorAxisZ != 0;
    return (lathe != 0 && !lines.empty()) ||
           (mirror != 0 && triangles.count() + quads.count() != 0 && anyAxis);
}

}  // namespace korvane
