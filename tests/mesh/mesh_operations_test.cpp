#include <gtest/gtest.h>

#include "mesh/mesh_operations.h"
#include "mesh_test_util.h"

namespace korvane {
namespace {

using testing::AddFace;
using testing::AddLine;
using testing::AddQuad;
using testing::AddTriangle;
using testing::Corners;
using testing::EdgePair;
using testing::Edges;
using testing::ExpectFaceListsMatch;
using testing::Faces;
using testing::SetPositions;

void FourVertices(PolyMesh& mesh) {
    SetPositions(mesh, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
}

TEST(BuildEdgesTest, TwoTrianglesSharingASideGiveFiveEdges) {
    PolyMesh mesh;
    FourVertices(mesh);
    AddTriangle(mesh, 0, 1, 2);
    AddTriangle(mesh, 0, 2, 3);  // shares 2-0, in the opposite direction
    mesh.faceListsValid = true;
    BuildEdges(mesh);
    EXPECT_TRUE(mesh.edgesValid);
    EXPECT_FALSE(mesh.faceListsValid);
    EXPECT_EQ(Edges(mesh), (std::vector<EdgePair>{{0, 1}, {1, 2}, {2, 0}, {2, 3}, {3, 0}}));
}

TEST(BuildEdgesTest, SharedSideKeepsTheDirectionOfTheFirstFace) {
    PolyMesh mesh;
    FourVertices(mesh);
    AddTriangle(mesh, 2, 3, 0);
    AddTriangle(mesh, 0, 1, 2);
    BuildEdges(mesh);
    EXPECT_EQ(Edges(mesh), (std::vector<EdgePair>{{2, 3}, {3, 0}, {0, 2}, {0, 1}, {1, 2}}));
}

TEST(BuildEdgesTest, RepeatedVertexGivesNoZeroLengthEdge) {
    PolyMesh mesh;
    FourVertices(mesh);
    AddTriangle(mesh, 0, 0, 1);
    AddLine(mesh, 2, 2);
    AddQuad(mesh, 3, 3, 3, 3);
    BuildEdges(mesh);
    EXPECT_EQ(Edges(mesh), (std::vector<EdgePair>{{0, 1}}));
}

TEST(BuildEdgesTest, OrderIsLinesThenTrianglesThenQuads) {
    PolyMesh mesh;
    SetPositions(mesh, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {5, 5, 5}, {6, 6, 6}});
    AddQuad(mesh, 0, 1, 2, 3);
    AddTriangle(mesh, 1, 0, 4);
    AddLine(mesh, 5, 4);
    AddLine(mesh, 3, 2);
    BuildEdges(mesh);
    EXPECT_EQ(Edges(mesh),
              (std::vector<EdgePair>{{5, 4}, {3, 2}, {1, 0}, {0, 4}, {4, 1}, {1, 2}, {3, 0}}));
}

TEST(BuildEdgesTest, OneVertexGivesNoEdgesButValid) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 2, 3}});
    AddTriangle(mesh, 0, 0, 0);
    BuildEdges(mesh);
    EXPECT_TRUE(mesh.edges.empty());
    EXPECT_TRUE(mesh.edgesValid);
    PolyMesh empty;
    BuildEdges(empty);
    EXPECT_TRUE(empty.edgesValid);
}

TEST(BuildEdgesTest, RebuildReplacesTheOldList) {
    PolyMesh mesh;
    FourVertices(mesh);
    AddTriangle(mesh, 0, 1, 2);
    BuildEdges(mesh);
    BuildEdges(mesh);
    EXPECT_EQ(mesh.edges.count(), 3);
    mesh.ClearFaces();
    BuildEdges(mesh);
    EXPECT_TRUE(mesh.edges.empty());
}

TEST(BuildEdgesTest, FacesFromSplitFacesWithOneOrFiveCornersGiveNoEdges) {
    PolyMesh mesh;
    FourVertices(mesh);
    AddFace(mesh, FaceList::kFaces, {0});
    mesh.ResizeFaces(FaceList::kFaces, 2);
    mesh.faces[1].cornerCount = 5;
    mesh.faces[1].corners[0] = 1;
    mesh.faces[1].corners[1] = 2;
    mesh.SplitFaces();
    BuildEdges(mesh);
    EXPECT_TRUE(mesh.edges.empty());
}

TEST(BuildVertexFaceListsTest, ListsAscendingOncePerCorner) {
    PolyMesh mesh;
    SetPositions(mesh, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}});
    AddTriangle(mesh, 0, 1, 2);
    AddTriangle(mesh, 2, 2, 3);  // vertex 2 twice
    AddTriangle(mesh, 4, 0, 2);
    AddQuad(mesh, 0, 1, 2, 3);
    AddQuad(mesh, 1, 4, 2, 1);
    BuildVertexFaceLists(mesh);
    ExpectFaceListsMatch(mesh);
    std::vector<std::int32_t> two(mesh.vertexTriangles[2].begin(), mesh.vertexTriangles[2].end());
    EXPECT_EQ(two, (std::vector<std::int32_t>{0, 1, 1, 2}));
    std::vector<std::int32_t> one(mesh.vertexQuads[1].begin(), mesh.vertexQuads[1].end());
    EXPECT_EQ(one, (std::vector<std::int32_t>{0, 1, 1}));
    // Rebuilding after a change replaces the lists.
    mesh.ResizeFaces(FaceList::kTriangles, 1);
    BuildVertexFaceLists(mesh);
    ExpectFaceListsMatch(mesh);
    EXPECT_TRUE(mesh.vertexTriangles[4].empty());
}

TEST(BuildVertexFaceListsTest, NoVertices) {
    PolyMesh mesh;
    BuildVertexFaceLists(mesh);
    EXPECT_TRUE(mesh.faceListsValid);
}

TEST(ClearGeometryTest, EmptiesGeometryKeepsSettings) {
    PolyMesh mesh;
    FourVertices(mesh);
    AddFace(mesh, FaceList::kFaces, {0, 1, 2});
    AddLine(mesh, 0, 1);
    AddTriangle(mesh, 0, 1, 2);
    AddQuad(mesh, 0, 1, 2, 3);
    mesh.name = "obj";
    mesh.colour = 0x123456;
    mesh.mirror = MirrorMode::kConnected;
    mesh.lathe = true;
    mesh.latheSegments = 7;
    BuildEdges(mesh);
    BuildVertexFaceLists(mesh);
    ClearGeometry(mesh);
    EXPECT_EQ(mesh.vertexCount(), 0);
    EXPECT_TRUE(mesh.edges.empty());
    EXPECT_TRUE(mesh.faces.empty());
    EXPECT_TRUE(mesh.lines.empty());
    EXPECT_TRUE(mesh.triangles.empty());
    EXPECT_TRUE(mesh.quads.empty());
    EXPECT_FALSE(mesh.edgesValid);
    EXPECT_FALSE(mesh.faceListsValid);
    EXPECT_EQ(mesh.name, "obj");
    EXPECT_EQ(mesh.colour, 0x123456u);
    EXPECT_EQ(mesh.mirror, MirrorMode::kConnected);
    EXPECT_TRUE(mesh.lathe);
    EXPECT_EQ(mesh.latheSegments, 7);
}

TEST(CopyGeometryTest, BuildsSourceEdgesAndCopiesEverythingInOrder) {
    PolyMesh source;
    SetPositions(source, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {3, 3, 3}});
    AddLine(source, 4, 0);
    AddTriangle(source, 0, 1, 2);
    AddQuad(source, 0, 2, 3, 4);
    source.name = "source";
    PolyMesh target;
    SetPositions(target, {{9, 9, 9}});
    AddTriangle(target, 0, 0, 0);
    target.name = "target";
    CopyGeometry(source, target);

    EXPECT_TRUE(source.edgesValid);  // the only change made to a source
    EXPECT_TRUE(target.edgesValid);
    EXPECT_EQ(target.name, "target");  // geometry only
    ASSERT_EQ(target.vertexCount(), 5);
    EXPECT_EQ(target.positions[4].z, 3.0f);
    EXPECT_EQ(target.positions[1].x, 1.0f);
    EXPECT_EQ(Edges(target), Edges(source));
    EXPECT_EQ(Faces(target.lines), (std::vector<Corners>{{4, 0}}));
    EXPECT_EQ(Faces(target.triangles), (std::vector<Corners>{{0, 1, 2}}));
    EXPECT_EQ(Faces(target.quads), (std::vector<Corners>{{0, 2, 3, 4}}));
    ExpectFaceListsMatch(target);
}

TEST(CopyGeometryTest, KeepsAnAlreadyValidSourceEdgeList) {
    PolyMesh source;
    FourVertices(source);
    AddTriangle(source, 0, 1, 2);
    source.edges.Allocate(1);
    source.edges[0] = MeshEdge{3, 1};  // not what BuildEdges would give, but declared valid
    source.edgesValid = true;
    PolyMesh target;
    CopyGeometry(source, target);
    EXPECT_EQ(Edges(target), (std::vector<EdgePair>{{3, 1}}));
}

TEST(CopyGeometryTest, EmptySource) {
    PolyMesh source;
    PolyMesh target;
    FourVertices(target);
    CopyGeometry(source, target);
    EXPECT_EQ(target.vertexCount(), 0);
    EXPECT_TRUE(target.edgesValid);
    EXPECT_TRUE(target.faceListsValid);
}

TEST(CopySettingsTest, CopiesEverySettingButNoGeometry) {
    PolyMesh source;
    source.name = "named";
    source.colour = 0x00FF00;
    source.mirror = MirrorMode::kConnected;
    source.mirrorDistanceSet = true;
    source.mirrorAxisX = false;
    source.mirrorAxisY = true;
    source.mirrorAxisZ = true;
    source.mirrorDistance = 2.5f;
    source.lathe = true;
    source.latheAxis = Axis::kX;
    source.latheSegments = 5;
    FourVertices(source);
    PolyMesh target;
    CopySettings(source, target);
    EXPECT_EQ(target.name, "named");
    EXPECT_EQ(target.colour, 0x00FF00u);
    EXPECT_EQ(target.mirror, MirrorMode::kConnected);
    EXPECT_TRUE(target.mirrorDistanceSet);
    EXPECT_FALSE(target.mirrorAxisX);
    EXPECT_TRUE(target.mirrorAxisY);
    EXPECT_TRUE(target.mirrorAxisZ);
    EXPECT_EQ(target.mirrorDistance, 2.5f);
    EXPECT_TRUE(target.lathe);
    EXPECT_EQ(target.latheAxis, Axis::kX);
    EXPECT_EQ(target.latheSegments, 5);
    EXPECT_EQ(target.vertexCount(), 0);
}

}  // namespace
}  // namespace korvane
