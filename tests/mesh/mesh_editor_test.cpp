#include <gtest/gtest.h>

#include "mesh/mesh_editor.h"
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
    mesh.faceListsValid = 1;
    MeshEditor(&mesh).BuildEdges();
    EXPECT_EQ(mesh.edgesValid, 1);
    EXPECT_EQ(mesh.faceListsValid, 0);
    EXPECT_EQ(Edges(mesh), (std::vector<EdgePair>{{0, 1}, {1, 2}, {2, 0}, {2, 3}, {3, 0}}));
}

TEST(BuildEdgesTest, SharedSideKeepsTheDirectionOfTheFirstFace) {
    PolyMesh mesh;
    FourVertices(mesh);
    AddTriangle(mesh, 2, 3, 0);
    AddTriangle(mesh, 0, 1, 2);
    MeshEditor(&mesh).BuildEdges();
    EXPECT_EQ(Edges(mesh), (std::vector<EdgePair>{{2, 3}, {3, 0}, {0, 2}, {0, 1}, {1, 2}}));
}

TEST(BuildEdgesTest, RepeatedVertexGivesNoZeroLengthEdge) {
    PolyMesh mesh;
    FourVertices(mesh);
    AddTriangle(mesh, 0, 0, 1);
    AddLine(mesh, 2, 2);
    AddQuad(mesh, 3, 3, 3, 3);
    MeshEditor(&mesh).BuildEdges();
    EXPECT_EQ(Edges(mesh), (std::vector<EdgePair>{{0, 1}}));
}

TEST(BuildEdgesTest, OrderIsLinesThenTrianglesThenQuads) {
    PolyMesh mesh;
    SetPositions(mesh, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {5, 5, 5}, {6, 6, 6}});
    AddQuad(mesh, 0, 1, 2, 3);
    AddTriangle(mesh, 1, 0, 4);
    AddLine(mesh, 5, 4);
    AddLine(mesh, 3, 2);
    MeshEditor(&mesh).BuildEdges();
    EXPECT_EQ(Edges(mesh),
              (std::vector<EdgePair>{{5, 4}, {3, 2}, {1, 0}, {0, 4}, {4, 1}, {1, 2}, {3, 0}}));
}

TEST(BuildEdgesTest, OneVertexGivesNoEdgesButValid) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 2, 3}});
    AddTriangle(mesh, 0, 0, 0);
    MeshEditor(&mesh).BuildEdges();
    EXPECT_TRUE(mesh.edges.empty());
    EXPECT_EQ(mesh.edgesValid, 1);
    PolyMesh empty;
    MeshEditor(&empty).BuildEdges();
    EXPECT_EQ(empty.edgesValid, 1);
}

TEST(BuildEdgesTest, RebuildReplacesTheOldList) {
    PolyMesh mesh;
    FourVertices(mesh);
    AddTriangle(mesh, 0, 1, 2);
    MeshEditor editor(&mesh);
    editor.BuildEdges();
    editor.BuildEdges();
    EXPECT_EQ(mesh.edges.count(), 3);
    mesh.ClearFaces();
    editor.BuildEdges();
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
    MeshEditor(&mesh).BuildEdges();
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
    MeshEditor(&mesh).BuildVertexFaceLists();
    ExpectFaceListsMatch(mesh);
    std::vector<std::int32_t> two(mesh.vertexTriangles[2].begin(), mesh.vertexTriangles[2].end());
    EXPECT_EQ(two, (std::vector<std::int32_t>{0, 1, 1, 2}));
    std::vector<std::int32_t> one(mesh.vertexQuads[1].begin(), mesh.vertexQuads[1].end());
    EXPECT_EQ(one, (std::vector<std::int32_t>{0, 1, 1}));
    // Rebuilding after a change replaces the lists.
    mesh.ResizeFaces(FaceList::kTriangles, 1);
    MeshEditor(&mesh).BuildVertexFaceLists();
    ExpectFaceListsMatch(mesh);
    EXPECT_TRUE(mesh.vertexTriangles[4].empty());
}

TEST(BuildVertexFaceListsTest, NoVertices) {
    PolyMesh mesh;
    MeshEditor(&mesh).BuildVertexFaceLists();
    EXPECT_EQ(mesh.faceListsValid, 1);
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
    mesh.mirror = 2;
    mesh.lathe = 1;
    mesh.latheSegments = 7;
    MeshEditor editor(&mesh);
    editor.BuildEdges();
    editor.BuildVertexFaceLists();
    editor.ClearGeometry();
    EXPECT_EQ(mesh.vertexCount(), 0);
    EXPECT_TRUE(mesh.edges.empty());
    EXPECT_TRUE(mesh.faces.empty());
    EXPECT_TRUE(mesh.lines.empty());
    EXPECT_TRUE(mesh.triangles.empty());
    EXPECT_TRUE(mesh.quads.empty());
    EXPECT_EQ(mesh.edgesValid, 0);
    EXPECT_EQ(mesh.faceListsValid, 0);
    EXPECT_EQ(mesh.name, "obj");
    EXPECT_EQ(mesh.colour, 0x123456u);
    EXPECT_EQ(mesh.mirror, 2);
    EXPECT_EQ(mesh.lathe, 1);
    EXPECT_EQ(mesh.latheSegments, 7);
}

TEST(CopyGeometryFromTest, BuildsSourceEdgesAndCopiesEverythingInOrder) {
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
    MeshEditor(&target).CopyGeometryFrom(source);

    EXPECT_EQ(source.edgesValid, 1);  // the only change made to a source
    EXPECT_EQ(target.edgesValid, 1);
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

TEST(CopyGeometryFromTest, KeepsAnAlreadyValidSourceEdgeList) {
    PolyMesh source;
    FourVertices(source);
    AddTriangle(source, 0, 1, 2);
    source.edges.Allocate(1);
    source.edges[0] = MeshEdge{3, 1};  // not what BuildEdges would give, but declared valid
    source.edgesValid = 1;
    PolyMesh target;
    MeshEditor(&target).CopyGeometryFrom(source);
    EXPECT_EQ(Edges(target), (std::vector<EdgePair>{{3, 1}}));
}

TEST(CopyGeometryFromTest, EmptySource) {
    PolyMesh source;
    PolyMesh target;
    FourVertices(target);
    MeshEditor(&target).CopyGeometryFrom(source);
    EXPECT_EQ(target.vertexCount(), 0);
    EXPECT_EQ(target.edgesValid, 1);
    EXPECT_EQ(target.faceListsValid, 1);
}

TEST(CopySettingsFromTest, CopiesEverySettingButNoGeometry) {
    PolyMesh source;
    source.name = "named";
    source.colour = 0x00FF00;
    source.mirror = 2;
    source.mirrorDistanceSet = 1;
    source.mirrorAxisX = 0;
    source.mirrorAxisY = 1;
    source.mirrorAxisZ = 1;
    source.mirrorDistance = 2.5f;
    source.lathe = 1;
    source.latheAxis = 0;
    source.latheSegments = 5;
    FourVertices(source);
    PolyMesh target;
    MeshEditor(&target).CopySettingsFrom(source);
    EXPECT_EQ(target.name, "named");
    EXPECT_EQ(target.colour, 0x00FF00u);
    EXPECT_EQ(target.mirror, 2);
    EXPECT_EQ(target.mirrorDistanceSet, 1);
    EXPECT_EQ(target.mirrorAxisX, 0);
    EXPECT_EQ(target.mirrorAxisY, 1);
    EXPECT_EQ(target.mirrorAxisZ, 1);
    EXPECT_EQ(target.mirrorDistance, 2.5f);
    EXPECT_EQ(target.lathe, 1);
    EXPECT_EQ(target.latheAxis, 0);
    EXPECT_EQ(target.latheSegments, 5);
    EXPECT_EQ(target.vertexCount(), 0);
}

TEST(MeshEditorTest, UnboundEditorDoesNothing) {
    PolyMesh source;
    FourVertices(source);
    AddTriangle(source, 0, 1, 2);
    source.mirror = 2;
    source.lathe = 1;
    MeshEditor editor;
    EXPECT_EQ(editor.target(), nullptr);
    editor.BuildEdges();
    editor.BuildVertexFaceLists();
    editor.ClearGeometry();
    editor.CopyGeometryFrom(source);
    editor.CopySettingsFrom(source);
    editor.ApplyModifiers();
    editor.Lathe(source);
    editor.Mirror(source, 0);
    EXPECT_EQ(source.edgesValid, 0);  // untouched: nothing ran
    EXPECT_EQ(source.vertexCount(), 4);
}

TEST(MeshEditorTest, RebindingChangesTheTarget) {
    PolyMesh a;
    PolyMesh b;
    FourVertices(a);
    FourVertices(b);
    AddTriangle(a, 0, 1, 2);
    AddTriangle(b, 0, 1, 2);
    MeshEditor editor(&a);
    editor.BuildEdges();
    editor.Bind(&b);
    EXPECT_EQ(editor.target(), &b);
    editor.ClearGeometry();
    EXPECT_EQ(a.edges.count(), 3);
    EXPECT_EQ(b.vertexCount(), 0);
}

}  // namespace
}  // namespace korvane
