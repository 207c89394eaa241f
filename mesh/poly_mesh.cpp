#include "mesh/poly_mesh.h"

#include <algorithm>
#include <cstdint>
#include <span>

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
    faceListsValid = false;  // the per-vertex lists are new and empty
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
    faceListsValid = false;
    vertexCount_ = n;
}

void PolyMesh::SetFaceCount(std::int32_t n) {
    faces.Allocate(n);
    outlineCorners = {};
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

namespace {

constexpr std::int32_t kFirstOutlineCornerCount = 5;

// The corners of an outline face, or an empty span when outlineCorners holds fewer (a face list
// filled without its corners).
std::span<const std::int32_t> OutlineOf(const MeshFace& face,
                                        const std::vector<std::int32_t>& outlineCorners,
                                        std::size_t& next) {
    const auto count = static_cast<std::size_t>(face.cornerCount);
    if (outlineCorners.size() - next < count) {
        next = outlineCorners.size();
        return {};
    }
    const std::span<const std::int32_t> corners(outlineCorners.data() + next, count);
    next += count;
    return corners;
}

bool CornersInRange(std::span<const std::int32_t> corners, std::int32_t vertexCount) {
    return !corners.empty() && std::ranges::all_of(corners, [vertexCount](std::int32_t index) {
        return mesh_detail::InRange(index, vertexCount);
    });
}

// Calls line(a, b) for every side of the closed outline whose two corners differ.
template <class LineFn>
void ForEachOutlineSide(std::span<const std::int32_t> corners, LineFn line) {
    for (std::size_t k = 0; k < corners.size(); ++k) {
        const std::int32_t a = corners[k];
        const std::int32_t b = corners[(k + 1) % corners.size()];
        if (a != b) {
            line(a, b);
        }
    }
}

MeshFace Line(std::int32_t a, std::int32_t b) {
    MeshFace line;
    line.cornerCount = 2;
    line.corners[0] = a;
    line.corners[1] = b;
    return line;
}

}  // namespace

void PolyMesh::SplitFaces() {
    std::int64_t counts[5] = {};
    std::size_t next = 0;
    for (const MeshFace& face : faces) {
        if (face.cornerCount >= 2 && face.cornerCount <= 4) {
            ++counts[face.cornerCount];
        } else if (face.cornerCount >= kFirstOutlineCornerCount) {
            const auto corners = OutlineOf(face, outlineCorners, next);
            if (CornersInRange(corners, vertexCount_)) {
                ForEachOutlineSide(corners, [&](std::int32_t, std::int32_t) { ++counts[2]; });
            }
        }
    }
    // A face list holds at most 2^31 - 1 records; outline lines beyond that are not kept.
    const auto capped = [](std::int64_t n) {
        return static_cast<std::int32_t>(std::min<std::int64_t>(n, INT32_MAX));
    };
    lines.Allocate(capped(counts[2]));
    triangles.Allocate(capped(counts[3]));
    quads.Allocate(capped(counts[4]));
    std::int32_t filled[5] = {};
    const auto addLine = [&](const MeshFace& line) {
        if (filled[2] < lines.count()) {
            lines[filled[2]++] = line;
        }
    };
    next = 0;
    for (const MeshFace& face : faces) {
        switch (face.cornerCount) {
            case 2:
                addLine(face);
                break;
            case 3:
                triangles[filled[3]++] = face;
                break;
            case 4:
                quads[filled[4]++] = face;
                break;
            default:
                if (face.cornerCount >= kFirstOutlineCornerCount) {
                    const auto corners = OutlineOf(face, outlineCorners, next);
                    if (CornersInRange(corners, vertexCount_)) {
                        ForEachOutlineSide(
                            corners, [&](std::int32_t a, std::int32_t b) { addLine(Line(a, b)); });
                        ++outlineFaces;
                    } else {
                        ++droppedOutlines;
                    }
                }
                break;  // 0 or 1 corners: not a line or a face we can use
        }
    }
    faces.Release();
    outlineCorners = {};
}

bool AppendOutlineLines(std::span<const std::int32_t> corners, std::int32_t vertexCount,
                        std::vector<MeshFace>& lines) {
    if (!CornersInRange(corners, vertexCount)) {
        return false;
    }
    ForEachOutlineSide(corners,
                       [&](std::int32_t a, std::int32_t b) { lines.push_back(Line(a, b)); });
    return true;
}

void PolyMesh::ClearFaces() {
    faces.Release();
    outlineCorners = {};
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
        edgesValid = false;
        faceListsValid = false;
    }
    return dropped > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(dropped);
}

bool PolyMesh::NeedsModifiers() const {
    const bool anyAxis = mirrorAxisX || mirrorAxisY || mirrorAxisZ;
    return (lathe && !lines.empty()) ||
           (mirror != MirrorMode::kNone && triangles.count() + quads.count() != 0 && anyAxis);
}

}  // namespace korvane
