#pragma once

#include <cstdint>

#include "mesh/poly_mesh.h"

// Validity tests and size limits shared by the mesh operations (internal to mesh/).

namespace korvane::mesh_detail {

// Largest vertex, edge or face-list count that a modifier may produce. The sizes are signed
// 32-bit, and a lathe with an absurd segment count (or a mirror of a giant mesh) would overflow
// them or ask for terabytes. Sizes are computed in 64 bits first; a modifier whose result would
// exceed this cap leaves its target as a plain copy of the source (no modification) instead.
// Why 2^24 and not more: a vertex costs 44 bytes in a PolyMesh (position and two per-vertex lists)
// and far more once it becomes a control point with its splines, so 2^24 vertices already mean
// gigabytes downstream, while hand-made models stay below 2^20. The check is per list.
inline constexpr std::int64_t kMaxElements = std::int64_t{1} << 24;

// Corners used by the records of a category list; the record's cornerCount is not trusted.
inline constexpr std::int32_t kLineCorners = 2;
inline constexpr std::int32_t kTriangleCorners = 3;
inline constexpr std::int32_t kQuadCorners = 4;

inline bool InRange(std::int32_t index, std::int32_t vertexCount) {
    return index >= 0 && index < vertexCount;
}

// True when the first `corners` corners of the face are vertex indices below vertexCount.
inline bool FaceInRange(const MeshFace& face, std::int32_t corners, std::int32_t vertexCount) {
    for (std::int32_t k = 0; k < corners; ++k) {
        if (!InRange(face.corners[k], vertexCount)) {
            return false;
        }
    }
    return true;
}

// An edge joins two different vertices below vertexCount.
inline bool EdgeValid(const MeshEdge& edge, std::int32_t vertexCount) {
    return edge.first != edge.second && InRange(edge.first, vertexCount) &&
           InRange(edge.second, vertexCount);
}

inline std::int32_t CountValidFaces(const GrowableArray<MeshFace>& list, std::int32_t corners,
                                    std::int32_t vertexCount) {
    std::int32_t n = 0;
    for (const MeshFace& face : list) {
        n += FaceInRange(face, corners, vertexCount) ? 1 : 0;
    }
    return n;
}

inline std::int32_t CountValidEdges(const GrowableArray<MeshEdge>& list, std::int32_t vertexCount) {
    std::int32_t n = 0;
    for (const MeshEdge& edge : list) {
        n += EdgeValid(edge, vertexCount) ? 1 : 0;
    }
    return n;
}

inline MeshFace MakeFace(std::int32_t corners, std::int32_t c0, std::int32_t c1,
                         std::int32_t c2 = 0, std::int32_t c3 = 0) {
    MeshFace face;
    face.cornerCount = corners;
    face.corners[0] = c0;
    face.corners[1] = c1;
    face.corners[2] = c2;
    face.corners[3] = c3;
    return face;
}

// Copies the valid records of `from` (with cornerCount set to `corners`) into `to` starting at
// position `at`; returns the position after the last one written.
inline std::int32_t CopyValidFaces(const GrowableArray<MeshFace>& from, std::int32_t corners,
                                   std::int32_t vertexCount, GrowableArray<MeshFace>& to,
                                   std::int32_t at) {
    for (const MeshFace& face : from) {
        if (FaceInRange(face, corners, vertexCount)) {
            MeshFace copy = face;
            copy.cornerCount = corners;
            to[at++] = copy;
        }
    }
    return at;
}

}  // namespace korvane::mesh_detail
