#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>
#include <vector>

#include "mesh/poly_mesh.h"

namespace korvane::testing {

// Fills mesh with the given vertex positions and edges (pairs of vertex indices), as a reader
// leaves it for BuildFromMesh.
inline void FillMesh(PolyMesh& mesh, const std::vector<Vec3>& positions,
                     const std::vector<std::pair<int, int>>& edges) {
    mesh.SetVertexCount(static_cast<std::int32_t>(positions.size()));
    for (std::size_t i = 0; i < positions.size(); ++i) {
        mesh.positions[static_cast<std::int32_t>(i)] = positions[i];
    }
    mesh.edges.Allocate(static_cast<std::int32_t>(edges.size()));
    for (std::size_t i = 0; i < edges.size(); ++i) {
        mesh.edges[static_cast<std::int32_t>(i)] = MeshEdge{edges[i].first, edges[i].second};
    }
    mesh.edgesValid = 1;
}

inline Vec3 At(float x, float y, float z) {
    return Vec3{x, y, z};
}

// A flat grid of width x height unit squares; vertex (x, y) has index y * (width + 1) + x.
inline void FillGrid(PolyMesh& mesh, int width, int height) {
    std::vector<Vec3> positions;
    std::vector<std::pair<int, int>> edges;
    const auto index = [width](int x, int y) { return y * (width + 1) + x; };
    for (int y = 0; y <= height; ++y) {
        for (int x = 0; x <= width; ++x) {
            positions.push_back(At(static_cast<float>(x), static_cast<float>(y), 0.0f));
            if (x < width) {
                edges.emplace_back(index(x, y), index(x + 1, y));
            }
            if (y < height) {
                edges.emplace_back(index(x, y), index(x, y + 1));
            }
        }
    }
    FillMesh(mesh, positions, edges);
}

// A torus of around x along quads; vertex (i, j) has index j * around + i. Both counts must be
// at least 5, so that no ring of the torus closes a triangle or a quad of its own.
inline void FillTorus(PolyMesh& mesh, int around, int along) {
    std::vector<Vec3> positions;
    std::vector<std::pair<int, int>> edges;
    const auto index = [around](int i, int j) { return j * around + i; };
    for (int j = 0; j < along; ++j) {
        const double tube = 2.0 * std::numbers::pi * j / along;
        for (int i = 0; i < around; ++i) {
            const double ring = 2.0 * std::numbers::pi * i / around;
            const double radius = 3.0 + std::cos(tube);
            positions.push_back(At(static_cast<float>(radius * std::cos(ring)),
                                   static_cast<float>(radius * std::sin(ring)),
                                   static_cast<float>(std::sin(tube))));
            edges.emplace_back(index(i, j), index((i + 1) % around, j));
            edges.emplace_back(index(i, j), index(i, (j + 1) % along));
        }
    }
    FillMesh(mesh, positions, edges);
}

}  // namespace korvane::testing
