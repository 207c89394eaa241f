#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <vector>

#include "view/stand_in_mesh.h"
#include "view/surface_mesh.h"

namespace korvane {
namespace {

// An n x n grid of unit quads in the z = 0 plane, normals along +z, each quad as two triangles
// wound counter-clockwise seen from +z.
struct Sheet {
    std::vector<SurfaceSample> samples;
    std::vector<std::uint32_t> triangles;
};

Sheet MakeSheet(int n) {
    Sheet sheet;
    const auto row = static_cast<std::uint32_t>(n + 1);
    for (int y = 0; y <= n; ++y) {
        for (int x = 0; x <= n; ++x) {
            sheet.samples.push_back(
                {Vec3{static_cast<float>(x), static_cast<float>(y), 0.0f}, Vec3{0, 0, 1}});
        }
    }
    for (std::uint32_t y = 0; y < static_cast<std::uint32_t>(n); ++y) {
        for (std::uint32_t x = 0; x < static_cast<std::uint32_t>(n); ++x) {
            const std::uint32_t a = x + row * y;
            sheet.triangles.insert(sheet.triangles.end(), {a, a + 1, a + row + 1});
            sheet.triangles.insert(sheet.triangles.end(), {a, a + row + 1, a + row});
        }
    }
    return sheet;
}

float WindingZ(const StandInMesh& mesh, std::size_t t) {
    const Vec3& a = mesh.samples[mesh.indices[t]].position;
    const Vec3& b = mesh.samples[mesh.indices[t + 1]].position;
    const Vec3& c = mesh.samples[mesh.indices[t + 2]].position;
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// However coarse the cubes, what is left is a sound mesh: no triangle with a repeated corner,
// none twice, all wound as the sheet, every normal the sheet's, every sample used, and no more
// samples than cubes. Cubes as fine as the sheet keep every triangle where it was.
TEST(StandInMeshTest, ClusteringKeepsASoundMeshOfAtMostOneSampleACube) {
    const struct {
        int sheet;
        int cells;
        std::size_t triangles;  // 0: fewer than the sheet's, more than none
    } cases[] = {{8, 8, 128}, {8, 4, 0}, {8, 3, 0}, {30, 500, 1800}, {30, 7, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.sheet << " quads a side, " << c.cells << " cubes");
        const Sheet sheet = MakeSheet(c.sheet);
        const StandInMesh mesh = ClusterTriangles(sheet.samples, sheet.triangles, c.cells);
        const std::size_t triangles = mesh.indices.size() / 3;
        if (c.triangles > 0) {
            EXPECT_EQ(triangles, c.triangles);
        } else {
            EXPECT_GT(triangles, 0u);
            EXPECT_LT(triangles, sheet.triangles.size() / 3);
        }
        const int cells = std::min(c.cells, 127) + 1;
        EXPECT_LE(mesh.samples.size(), static_cast<std::size_t>(cells * cells));
        std::set<std::array<std::uint32_t, 3>> seen;
        std::vector<bool> used(mesh.samples.size(), false);
        for (std::size_t t = 0; t < mesh.indices.size(); t += 3) {
            std::array<std::uint32_t, 3> corners{mesh.indices[t], mesh.indices[t + 1],
                                                 mesh.indices[t + 2]};
            for (const std::uint32_t corner : corners) {
                ASSERT_LT(corner, mesh.samples.size());
                used[corner] = true;
            }
            EXPECT_GT(WindingZ(mesh, t), 0.0f);
            std::sort(corners.begin(), corners.end());
            EXPECT_TRUE(corners[0] != corners[1] && corners[1] != corners[2]);
            EXPECT_TRUE(seen.insert(corners).second) << "a triangle twice";
        }
        EXPECT_TRUE(std::all_of(used.begin(), used.end(), [](bool u) { return u; }));
        for (const SurfaceSample& sample : mesh.samples) {
            EXPECT_EQ(sample.normal.z, 1.0f);
            EXPECT_GE(sample.position.x, 0.0f);
            EXPECT_LE(sample.position.x, static_cast<float>(c.sheet));
        }
    }
}

TEST(StandInMeshTest, NothingToClusterGivesNothingAndFarOffSamplesStayInTheGrid) {
    Sheet sheet = MakeSheet(2);
    EXPECT_TRUE(ClusterTriangles(sheet.samples, {}, 8).indices.empty());
    EXPECT_TRUE(ClusterTriangles(sheet.samples, sheet.triangles, 0).indices.empty());
    // One corner not finite, another huge: both land in a cube of the grid, nothing reads outside.
    sheet.samples[0].position.x = NAN;
    sheet.samples[8].position = Vec3{3e38f, 3e38f, 0.0f};
    const StandInMesh mesh = ClusterTriangles(sheet.samples, sheet.triangles, 16);
    for (const std::uint32_t index : mesh.indices) {
        EXPECT_LT(index, mesh.samples.size());
    }
}

// A mesh past kMovingSurfaceSamples gets a stand-in far smaller than itself; a smaller one none.
TEST(StandInMeshTest, OnlyMeshesTooBigToKeepUpGetAStandIn) {
    for (const int n : {100, 1100}) {
        SCOPED_TRACE(n);
        const Sheet sheet = MakeSheet(n);
        SurfaceMesh mesh;
        mesh.samples = sheet.samples;
        mesh.indices = sheet.triangles;
        AddStandIn(mesh);
        if (mesh.samples.size() <= kMovingSurfaceSamples) {
            EXPECT_TRUE(mesh.standIn.indices.empty());
        } else {
            EXPECT_GT(mesh.standIn.indices.size(), 0u);
            EXPECT_LT(mesh.standIn.indices.size() * 20, mesh.indices.size());
        }
    }
}

}  // namespace
}  // namespace korvane
