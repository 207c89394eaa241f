#include <gtest/gtest.h>

#include "mesh/mesh_operations.h"
#include "mesh_test_util.h"

// Structural checks on generated meshes: counts that follow from the topology, and the edge and
// face invariants on every result.

namespace korvane {
namespace {

using testing::ExpectEdgesSound;
using testing::ExpectFaceListsMatch;
using testing::ExpectFacesSound;
using testing::MakeGrid;
using testing::MakeTorus;
using testing::RebuiltEdgeSet;
using testing::UnorderedEdgeSet;

class GridTest : public ::testing::TestWithParam<std::pair<std::int32_t, std::int32_t>> {};

TEST_P(GridTest, CountsAndInvariants) {
    const auto [w, h] = GetParam();
    PolyMesh mesh;
    MakeGrid(mesh, w, h);
    BuildEdges(mesh);
    BuildVertexFaceLists(mesh);
    EXPECT_EQ(mesh.quads.count(), w * h);
    EXPECT_EQ(mesh.vertexCount(), (w + 1) * (h + 1));
    EXPECT_EQ(mesh.edges.count(), w * (h + 1) + h * (w + 1));
    EXPECT_TRUE(mesh.triangles.empty());
    ExpectEdgesSound(mesh);
    ExpectFacesSound(mesh);
    ExpectFaceListsMatch(mesh);
}

TEST_P(GridTest, ConnectedMirrorOfAGridTouchingThePlane) {
    const auto [w, h] = GetParam();
    PolyMesh mesh;
    MakeGrid(mesh, w, h);  // column x = 0 lies on the plane
    mesh.mirror = MirrorMode::kConnected;
    BuildEdges(mesh);
    ApplyModifiers(mesh);
    EXPECT_EQ(mesh.vertexCount(), (w + 1) * (h + 1) + w * (h + 1));
    // Open edges off the plane: top and bottom rows (w each), the far column (h); one bridge each.
    EXPECT_EQ(mesh.quads.count(), 2 * w * h + 2 * (w - 1) + h);
    EXPECT_EQ(mesh.triangles.count(), 2);  // the two row edges that start on the plane
    ExpectEdgesSound(mesh);
    ExpectFacesSound(mesh);
    ExpectFaceListsMatch(mesh);
    EXPECT_EQ(UnorderedEdgeSet(mesh), RebuiltEdgeSet(mesh));
}

INSTANTIATE_TEST_SUITE_P(Sizes, GridTest,
                         ::testing::Values(std::make_pair(1, 1), std::make_pair(2, 3),
                                           std::make_pair(5, 1), std::make_pair(7, 4),
                                           std::make_pair(30, 20)));

class TorusTest : public ::testing::TestWithParam<std::pair<std::int32_t, std::int32_t>> {};

TEST_P(TorusTest, CountsAndInvariants) {
    const auto [u, v] = GetParam();
    PolyMesh mesh;
    MakeTorus(mesh, u, v);
    BuildEdges(mesh);
    BuildVertexFaceLists(mesh);
    EXPECT_EQ(mesh.quads.count(), u * v);
    EXPECT_EQ(mesh.edges.count(), 2 * u * v);
    ExpectEdgesSound(mesh);
    ExpectFaceListsMatch(mesh);
    for (std::int32_t i = 0; i < mesh.vertexCount(); ++i) {
        EXPECT_EQ(mesh.vertexQuads[i].count(), 4);
    }
}

TEST_P(TorusTest, ClosedSurfaceMirrorsWithoutBridges) {
    const auto [u, v] = GetParam();
    PolyMesh mesh;
    MakeTorus(mesh, u, v, 10.0f);  // entirely on the +x side
    mesh.mirror = MirrorMode::kConnected;
    BuildEdges(mesh);
    ApplyModifiers(mesh);
    EXPECT_EQ(mesh.vertexCount(), 2 * u * v);
    EXPECT_EQ(mesh.quads.count(), 2 * u * v);
    EXPECT_EQ(mesh.edges.count(), 4 * u * v);
    EXPECT_TRUE(mesh.triangles.empty());
    ExpectEdgesSound(mesh);
    ExpectFacesSound(mesh);
}

TEST_P(TorusTest, CopyKeepsEverything) {
    const auto [u, v] = GetParam();
    PolyMesh mesh;
    MakeTorus(mesh, u, v);
    PolyMesh copy;
    CopyGeometry(mesh, copy);
    EXPECT_EQ(testing::Edges(copy), testing::Edges(mesh));
    EXPECT_EQ(testing::Faces(copy.quads), testing::Faces(mesh.quads));
    ExpectFaceListsMatch(copy);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TorusTest,
                         ::testing::Values(std::make_pair(3, 3), std::make_pair(4, 7),
                                           std::make_pair(12, 8), std::make_pair(40, 25)));

class LatheSweepTest : public ::testing::TestWithParam<std::int32_t> {};

// A closed polyline of K segments swept with N segments is a K x N torus.
TEST_P(LatheSweepTest, ClosedProfileSweepsIntoATorus) {
    const std::int32_t segments = GetParam();
    const std::int32_t k = 5;
    PolyMesh mesh;
    std::vector<Vec3> profile;
    for (std::int32_t i = 0; i < k; ++i) {
        const float a = 2.0f * 3.1415927f * static_cast<float>(i) / static_cast<float>(k);
        profile.push_back(Vec3{3.0f + std::cos(a), std::sin(a), 0.0f});
    }
    testing::SetVertices(mesh, profile);
    for (std::int32_t i = 0; i < k; ++i) {
        testing::AddLine(mesh, i, (i + 1) % k);
    }
    mesh.lathe = true;
    mesh.latheSegments = segments;
    BuildEdges(mesh);
    ApplyModifiers(mesh);
    EXPECT_EQ(mesh.vertexCount(), k * segments);
    EXPECT_EQ(mesh.quads.count(), k * segments);
    EXPECT_EQ(mesh.edges.count(), 2 * k * segments);
    EXPECT_TRUE(mesh.lines.empty());
    ExpectEdgesSound(mesh);
    ExpectFacesSound(mesh);
    ExpectFaceListsMatch(mesh);
    EXPECT_EQ(UnorderedEdgeSet(mesh), RebuiltEdgeSet(mesh));
    for (std::int32_t i = 0; i < mesh.vertexCount(); ++i) {
        EXPECT_EQ(mesh.vertexQuads[i].count(), 4);
    }
}

INSTANTIATE_TEST_SUITE_P(Segments, LatheSweepTest, ::testing::Values(3, 4, 12, 64));

}  // namespace
}  // namespace korvane
