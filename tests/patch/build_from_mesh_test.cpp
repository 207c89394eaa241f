#include <gtest/gtest.h>

#include "patch/patch_builder.h"
#include "patch/patch_invariants.h"
#include "support/mesh_shapes.h"
#include "support/network_builder.h"

namespace korvane {
namespace {

using testing::At;
using testing::FillMesh;
using testing::PointIndices;

void ExpectSound(const PatchObject& object) {
    const auto problems = CheckPatchInvariants(object);
    EXPECT_TRUE(problems.empty()) << problems.front();
}

TEST(BuildFromMeshTest, VerticesWithoutEdgesGivePointsOnly) {
    PolyMesh mesh;
    FillMesh(mesh, {At(1, 2, 3), At(-4, 5.5f, 0), At(0, 0, -7)}, {});
    PatchObject object;
    BuildFromMesh(mesh, object);

    ASSERT_EQ(object.PointCount(), 3);
    EXPECT_EQ(object.SplineCount(), 0);
    EXPECT_EQ(object.NodeCount(), 0);
    const PatchVec3& second = object.Points()[1];
    EXPECT_EQ(second.x, -4.0f);
    EXPECT_EQ(second.y, 5.5f);
    EXPECT_EQ(second.z, 0.0f);
    for (std::int32_t point = 0; point < object.PointCount(); ++point) {
        EXPECT_TRUE(object.RefsOf(point).empty());
    }
    ExpectSound(object);
}

TEST(BuildFromMeshTest, NoVerticesGiveNothingEvenWithEdges) {
    PolyMesh mesh;
    mesh.edges.Allocate(2);
    mesh.edges[0] = MeshEdge{0, 1};
    mesh.edges[1] = MeshEdge{1, 2};
    PatchObject object;
    BuildFromMesh(mesh, object);
    EXPECT_EQ(object.PointCount(), 0);
    EXPECT_EQ(object.SplineCount(), 0);
    ExpectSound(object);
}

TEST(BuildFromMeshTest, EveryEdgeBecomesAnOpenTwoNodeSplineInEdgeOrder) {
    PolyMesh mesh;
    FillMesh(mesh, {At(0, 0, 0), At(1, 0, 0), At(1, 1, 0), At(5, 5, 5)}, {{0, 1}, {2, 1}, {2, 0}});
    PatchObject object;
    BuildFromMesh(mesh, object);

    ASSERT_EQ(object.SplineCount(), 3);
    const std::vector<std::vector<int>> expected = {{0, 1}, {2, 1}, {2, 0}};
    for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
        EXPECT_FALSE(object.Closed(spline));
        EXPECT_EQ(PointIndices(object, spline), expected[static_cast<std::size_t>(spline)]);
    }
    // Each point holds one reference per edge end on it, in edge order; the unused vertex holds
    // none. Point 2 starts edges 1 and 2, so it references their heads (nodes 2 and 4).
    const std::size_t refCounts[] = {2, 2, 2, 0};
    for (std::int32_t point = 0; point < object.PointCount(); ++point) {
        EXPECT_EQ(object.RefsOf(point).size(), refCounts[point]) << "point " << point;
    }
    ASSERT_EQ(object.RefsOf(2).size(), 2u);
    EXPECT_EQ(object.RefsOf(2)[0].spline, 1);
    EXPECT_EQ(object.RefsOf(2)[0].node, 2);
    EXPECT_EQ(object.RefsOf(2)[1].spline, 2);
    EXPECT_EQ(object.RefsOf(2)[1].node, 4);
    ExpectSound(object);
}

TEST(BuildFromMeshTest, EdgesNamingMissingVerticesAreSkipped) {
    PolyMesh mesh;
    FillMesh(mesh, {At(0, 0, 0), At(1, 0, 0), At(2, 0, 0)},
             {{0, 3}, {-1, 1}, {1, 2}, {2, -2147483647 - 1}, {2147483647, 0}, {0, 1}});
    PatchObject object;
    BuildFromMesh(mesh, object);

    ASSERT_EQ(object.SplineCount(), 2);
    EXPECT_EQ(PointIndices(object, 0), (std::vector<int>{1, 2}));
    EXPECT_EQ(PointIndices(object, 1), (std::vector<int>{0, 1}));
    ExpectSound(object);
}

TEST(BuildFromMeshTest, DuplicateEdgesEachMakeASpline) {
    PolyMesh mesh;
    FillMesh(mesh, {At(0, 0, 0), At(1, 0, 0)}, {{0, 1}, {0, 1}, {1, 0}});
    PatchObject object;
    BuildFromMesh(mesh, object);
    EXPECT_EQ(object.SplineCount(), 3);
    EXPECT_EQ(object.RefsOf(0).size(), 3u);
    ExpectSound(object);
}

}  // namespace
}  // namespace korvane
