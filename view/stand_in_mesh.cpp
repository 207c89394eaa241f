#include "view/stand_in_mesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

namespace korvane {
namespace {

// Cells per side of the grid: the cells along the longest side and one for its far end.
constexpr int kMostStandInCells = 127;

struct Box {
    Vec3 low{INFINITY, INFINITY, INFINITY};
    Vec3 high{-INFINITY, -INFINITY, -INFINITY};

    void Add(const Vec3& p) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
};

struct Cluster {
    std::uint32_t index = 0;
    double x = 0.0, y = 0.0, z = 0.0;
    Vec3 normal;
    std::uint32_t count = 0;
};

// The cell of a coordinate, clamped so that far-off or non-finite values stay in the grid.
std::uint64_t CellOf(float value, float low, float inverseSize, int cells) {
    const float at = (value - low) * inverseSize;
    if (!(at > 0.0f)) {
        return 0;
    }
    return static_cast<std::uint64_t>(std::min(at, static_cast<float>(cells)));
}

}  // namespace

StandInMesh ClusterTriangles(const std::vector<SurfaceSample>& samples,
                             const std::vector<std::uint32_t>& triangles, int cellsAlongLongest) {
    StandInMesh mesh;
    if (triangles.empty() || cellsAlongLongest < 1) {
        return mesh;
    }
    cellsAlongLongest = std::min(cellsAlongLongest, kMostStandInCells);
    Box box;
    for (const std::uint32_t index : triangles) {
        const Vec3& p = samples[index].position;
        if (std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) {
            box.Add(p);
        }
    }
    const float longest =
        std::max({box.high.x - box.low.x, box.high.y - box.low.y, box.high.z - box.low.z});
    const float inverseSize =
        longest > 0.0f ? static_cast<float>(cellsAlongLongest) / longest : 0.0f;
    const std::uint64_t stride = static_cast<std::uint64_t>(cellsAlongLongest) + 1;

    std::unordered_map<std::uint64_t, Cluster> clusters;
    std::vector<std::uint32_t> clusterOf;
    clusterOf.reserve(triangles.size());
    for (const std::uint32_t index : triangles) {
        const Vec3& p = samples[index].position;
        const std::uint64_t key =
            CellOf(p.x, box.low.x, inverseSize, cellsAlongLongest) +
            stride * (CellOf(p.y, box.low.y, inverseSize, cellsAlongLongest) +
                      stride * CellOf(p.z, box.low.z, inverseSize, cellsAlongLongest));
        auto [at, added] = clusters.try_emplace(key);
        Cluster& cluster = at->second;
        if (added) {
            cluster.index = static_cast<std::uint32_t>(clusters.size() - 1);
        }
        cluster.x += p.x;
        cluster.y += p.y;
        cluster.z += p.z;
        const Vec3& n = samples[index].normal;
        cluster.normal = {cluster.normal.x + n.x, cluster.normal.y + n.y, cluster.normal.z + n.z};
        ++cluster.count;
        clusterOf.push_back(cluster.index);
    }
    mesh.samples.resize(clusters.size());
    for (const auto& [key, cluster] : clusters) {
        const double count = cluster.count;
        mesh.samples[cluster.index] = {
            Vec3{static_cast<float>(cluster.x / count), static_cast<float>(cluster.y / count),
                 static_cast<float>(cluster.z / count)},
            UnitByLargest(cluster.normal)};
    }
    // A triangle is known by its corners in rising order, whatever its winding.
    std::unordered_set<std::uint64_t> kept;
    for (std::size_t t = 0; t + 2 < clusterOf.size(); t += 3) {
        std::array<std::uint32_t, 3> corners{clusterOf[t], clusterOf[t + 1], clusterOf[t + 2]};
        std::array<std::uint32_t, 3> sorted = corners;
        std::sort(sorted.begin(), sorted.end());
        if (sorted[0] == sorted[1] || sorted[1] == sorted[2]) {
            continue;
        }
        // At most 128 cells a side make at most 2^21 clusters: three 21-bit fields hold any.
        const std::uint64_t key = (std::uint64_t{sorted[0]} & 0x1FFFFF) |
                                  ((std::uint64_t{sorted[1]} & 0x1FFFFF) << 21) |
                                  ((std::uint64_t{sorted[2]} & 0x1FFFFF) << 42);
        if (kept.insert(key).second) {
            mesh.indices.insert(mesh.indices.end(), corners.begin(), corners.end());
        }
    }
    return mesh;
}

}  // namespace korvane
