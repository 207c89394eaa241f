#include <gtest/gtest.h>

#include "mesh_shapes.h"
#include "patch/patch_builder.h"
#include "patch/patch_invariants.h"
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

    ASSERT_EQ(object.controlPoints.GetCount(), 3);
    EXPECT_EQ(object.splines.GetCount(), 0);
    const ControlPoint* second = object.controlPoints.GetAt(object.controlPoints.FindIndex(1));
    EXPECT_EQ(second->x, -4.0f);
    EXPECT_EQ(second->y, 5.5f);
    EXPECT_EQ(second->z, 0.0f);
    for (const ControlPoint* point : object.controlPoints) {
        EXPECT_TRUE(point->splineRefs.IsEmpty());
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
    EXPECT_EQ(object.controlPoints.GetCount(), 0);
    EXPECT_EQ(object.splines.GetCount(), 0);
}

TEST(BuildFromMeshTest, EveryEdgeBecomesAnOpenTwoNodeSplineInEdgeOrder) {
    PolyMesh mesh;
    FillMesh(mesh, {At(0, 0, 0), At(1, 0, 0), At(1, 1, 0), At(5, 5, 5)}, {{0, 1}, {2, 1}, {2, 0}});
    PatchObject object;
    BuildFromMesh(mesh, object);

    ASSERT_EQ(object.splines.GetCount(), 3);
    const std::vector<std::vector<int>> expected = {{0, 1}, {2, 1}, {2, 0}};
    int i = 0;
    for (const Spline* spline : object.splines) {
        EXPECT_EQ(spline->closed, 0);
        EXPECT_EQ(PointIndices(*spline, object), expected[static_cast<std::size_t>(i++)]);
    }
    // Each point holds one reference per edge end on it; the unused vertex holds none.
    const int refCounts[] = {2, 2, 2, 0};
    i = 0;
    for (const ControlPoint* point : object.controlPoints) {
        EXPECT_EQ(point->splineRefs.GetCount(), refCounts[i++]);
    }
    ExpectSound(object);
}

TEST(BuildFromMeshTest, EdgesNamingMissingVerticesAreSkipped) {
    PolyMesh mesh;
    FillMesh(mesh, {At(0, 0, 0), At(1, 0, 0), At(2, 0, 0)},
             {{0, 3}, {-1, 1}, {1, 2}, {2, -2147483647 - 1}, {2147483647, 0}, {0, 1}});
    PatchObject object;
    BuildFromMesh(mesh, object);

    ASSERT_EQ(object.splines.GetCount(), 2);
    EXPECT_EQ(PointIndices(*object.splines.GetHead(), object), (std::vector<int>{1, 2}));
    EXPECT_EQ(PointIndices(*object.splines.GetTail(), object), (std::vector<int>{0, 1}));
    ExpectSound(object);
}

TEST(BuildFromMeshTest, DuplicateEdgesEachMakeASpline) {
    PolyMesh mesh;
    FillMesh(mesh, {At(0, 0, 0), At(1, 0, 0)}, {{0, 1}, {0, 1}, {1, 0}});
    PatchObject object;
    BuildFromMesh(mesh, object);
    EXPECT_EQ(object.splines.GetCount(), 3);
    EXPECT_EQ(object.controlPoints.GetHead()->splineRefs.GetCount(), 3);
    ExpectSound(object);
}

}  // namespace
}  // namespace korvane
