#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <set>
#include <utility>
#include <vector>

#include "mesh/mesh_operations.h"
#include "mesh/poly_mesh.h"

// Helpers for building small meshes by hand and reading results back as plain vectors.

namespace korvane::testing {

using Corners = std::vector<std::int32_t>;
using EdgePair = std::pair<std::int32_t, std::int32_t>;

inline void SetPositions(PolyMesh& mesh, std::initializer_list<Vec3> points) {
    mesh.SetVertexCount(static_cast<std::int32_t>(points.size()));
    std::int32_t i = 0;
    for (const Vec3& p : points) {
        mesh.positions[i++] = p;
    }
}

inline void SetVertices(PolyMesh& mesh, const std::vector<Vec3>& points) {
    mesh.SetVertexCount(static_cast<std::int32_t>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i) {
        mesh.positions[static_cast<std::int32_t>(i)] = points[i];
    }
}

// Appends one record with these corners to a category list (cornerCount = number of corners).
inline void AddFace(PolyMesh& mesh, FaceList list, const Corners& corners) {
    GrowableArray<MeshFace>& target = list == FaceList::kFaces       ? mesh.faces
                                      : list == FaceList::kLines     ? mesh.lines
                                      : list == FaceList::kTriangles ? mesh.triangles
                                                                     : mesh.quads;
    const std::int32_t n = target.count();
    mesh.ResizeFaces(list, n + 1);
    MeshFace& face = target[n];
    face.cornerCount = static_cast<std::int32_t>(corners.size());
    for (std::size_t k = 0; k < corners.size() && k < 4; ++k) {
        face.corners[k] = corners[k];
    }
}

inline void AddLine(PolyMesh& mesh, std::int32_t a, std::int32_t b) {
    AddFace(mesh, FaceList::kLines, {a, b});
}
inline void AddTriangle(PolyMesh& mesh, std::int32_t a, std::int32_t b, std::int32_t c) {
    AddFace(mesh, FaceList::kTriangles, {a, b, c});
}
inline void AddQuad(PolyMesh& mesh, std::int32_t a, std::int32_t b, std::int32_t c,
                    std::int32_t d) {
    AddFace(mesh, FaceList::kQuads, {a, b, c, d});
}

inline std::vector<EdgePair> Edges(const PolyMesh& mesh) {
    std::vector<EdgePair> out;
    for (const MeshEdge& e : mesh.edges) {
        out.emplace_back(e.first, e.second);
    }
    return out;
}

inline std::vector<Corners> Faces(const GrowableArray<MeshFace>& list) {
    std::vector<Corners> out;
    for (const MeshFace& f : list) {
        const std::int32_t n = std::clamp(f.cornerCount, 0, 4);
        out.emplace_back(f.corners, f.corners + n);
    }
    return out;
}

inline std::set<EdgePair> UnorderedEdgeSet(const PolyMesh& mesh) {
    std::set<EdgePair> out;
    for (const MeshEdge& e : mesh.edges) {
        out.emplace(std::min(e.first, e.second), std::max(e.first, e.second));
    }
    return out;
}

// Every edge joins two distinct vertices in range and no unordered pair repeats.
inline void ExpectEdgesSound(const PolyMesh& mesh) {
    std::set<EdgePair> seen;
    for (const MeshEdge& e : mesh.edges) {
        EXPECT_NE(e.first, e.second);
        EXPECT_GE(e.first, 0);
        EXPECT_GE(e.second, 0);
        EXPECT_LT(e.first, mesh.vertexCount());
        EXPECT_LT(e.second, mesh.vertexCount());
        EXPECT_TRUE(seen.emplace(std::min(e.first, e.second), std::max(e.first, e.second)).second)
            << "repeated edge " << e.first << "-" << e.second;
    }
}

// Every record has the corner count of its list and corners in range; faces is empty.
inline void ExpectFacesSound(const PolyMesh& mesh) {
    EXPECT_TRUE(mesh.faces.empty());
    auto check = [&](const GrowableArray<MeshFace>& list, std::int32_t corners) {
        for (const MeshFace& f : list) {
            EXPECT_EQ(f.cornerCount, corners);
            for (std::int32_t k = 0; k < corners; ++k) {
                EXPECT_GE(f.corners[k], 0);
                EXPECT_LT(f.corners[k], mesh.vertexCount());
            }
        }
    };
    check(mesh.lines, 2);
    check(mesh.triangles, 3);
    check(mesh.quads, 4);
}

// The per-vertex lists hold, ascending, each face once per corner that uses the vertex.
inline void ExpectFaceListsMatch(const PolyMesh& mesh) {
    ASSERT_TRUE(mesh.faceListsValid);
    auto check = [&](const GrowableArray<MeshFace>& list, std::int32_t corners,
                     const FaceIndexList* perVertex) {
        std::vector<std::vector<std::int32_t>> expected(
            static_cast<std::size_t>(mesh.vertexCount()));
        for (std::int32_t f = 0; f < list.count(); ++f) {
            for (std::int32_t k = 0; k < corners; ++k) {
                expected[list[f].corners[k]].push_back(f);
            }
        }
        for (std::int32_t v = 0; v < mesh.vertexCount(); ++v) {
            std::vector<std::int32_t> actual(perVertex[v].begin(), perVertex[v].end());
            EXPECT_EQ(actual, expected[v]) << "vertex " << v;
        }
    };
    if (mesh.vertexCount() > 0) {
        check(mesh.triangles, 3, mesh.vertexTriangles.get());
        check(mesh.quads, 4, mesh.vertexQuads.get());
    }
}

// The edge set that BuildEdges derives from the mesh's own lines and faces.
inline std::set<EdgePair> RebuiltEdgeSet(const PolyMesh& mesh) {
    PolyMesh copy;
    copy.SetVertexCount(mesh.vertexCount());
    auto copyList = [](const GrowableArray<MeshFace>& from, GrowableArray<MeshFace>& to) {
        to.Allocate(from.count());
        std::copy(from.begin(), from.end(), to.begin());
    };
    copyList(mesh.lines, copy.lines);
    copyList(mesh.triangles, copy.triangles);
    copyList(mesh.quads, copy.quads);
    BuildEdges(copy);
    return UnorderedEdgeSet(copy);
}

// A snapshot of everything a mesh holds, to compare two states.
struct MeshSnapshot {
    std::vector<std::vector<float>> positions;
    std::vector<EdgePair> edges;
    std::vector<Corners> lines, triangles, quads;
    bool edgesValid = false;
    bool faceListsValid = false;
    MirrorMode mirror = MirrorMode::kNone;
    bool lathe = false;
    bool operator==(const MeshSnapshot&) const = default;
};

inline MeshSnapshot Snapshot(const PolyMesh& mesh) {
    MeshSnapshot s;
    for (std::int32_t i = 0; i < mesh.vertexCount(); ++i) {
        s.positions.push_back({mesh.positions[i].x, mesh.positions[i].y, mesh.positions[i].z});
    }
    s.edges = Edges(mesh);
    s.lines = Faces(mesh.lines);
    s.triangles = Faces(mesh.triangles);
    s.quads = Faces(mesh.quads);
    s.edgesValid = mesh.edgesValid;
    s.faceListsValid = mesh.faceListsValid;
    s.mirror = mesh.mirror;
    s.lathe = mesh.lathe;
    return s;
}

// W x H quads in the plane z = 0, x from x0 to x0 + W; vertex (i, j) is j * (W + 1) + i.
inline void MakeGrid(PolyMesh& mesh, std::int32_t w, std::int32_t h, float x0 = 0.0f) {
    std::vector<Vec3> points;
    for (std::int32_t j = 0; j <= h; ++j) {
        for (std::int32_t i = 0; i <= w; ++i) {
            points.push_back(Vec3{x0 + static_cast<float>(i), static_cast<float>(j), 0.0f});
        }
    }
    SetVertices(mesh, points);
    mesh.quads.Allocate(w * h);
    std::int32_t q = 0;
    for (std::int32_t j = 0; j < h; ++j) {
        for (std::int32_t i = 0; i < w; ++i) {
            const std::int32_t v = j * (w + 1) + i;
            MeshFace& f = mesh.quads[q++];
            f.cornerCount = 4;
            f.corners[0] = v;
            f.corners[1] = v + 1;
            f.corners[2] = v + w + 2;
            f.corners[3] = v + w + 1;
        }
    }
}

// A U x V torus around the Y axis, centred at (cx, 0, 0); vertex (i, j) is i * V + j.
inline void MakeTorus(PolyMesh& mesh, std::int32_t u, std::int32_t v, float cx = 0.0f) {
    std::vector<Vec3> points;
    const float pi = 3.1415927f;
    for (std::int32_t i = 0; i < u; ++i) {
        const float a = 2.0f * pi * static_cast<float>(i) / static_cast<float>(u);
        for (std::int32_t j = 0; j < v; ++j) {
            const float b = 2.0f * pi * static_cast<float>(j) / static_cast<float>(v);
            const float r = 3.0f + std::cos(b);
            points.push_back(Vec3{cx + r * std::cos(a), std::sin(b), r * std::sin(a)});
        }
    }
    SetVertices(mesh, points);
    mesh.quads.Allocate(u * v);
    std::int32_t q = 0;
    for (std::int32_t i = 0; i < u; ++i) {
        for (std::int32_t j = 0; j < v; ++j) {
            const std::int32_t i1 = (i + 1) % u;
            const std::int32_t j1 = (j + 1) % v;
            MeshFace& f = mesh.quads[q++];
            f.cornerCount = 4;
            f.corners[0] = i * v + j;
            f.corners[1] = i1 * v + j;
            f.corners[2] = i1 * v + j1;
            f.corners[3] = i * v + j1;
        }
    }
}

}  // namespace korvane::testing
