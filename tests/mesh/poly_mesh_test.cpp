#include <gtest/gtest.h>

#include "mesh/poly_mesh.h"
#include "mesh_test_util.h"

namespace korvane {
namespace {

using testing::AddFace;
using testing::AddLine;
using testing::AddQuad;
using testing::AddTriangle;
using testing::Corners;
using testing::Faces;
using testing::SetPositions;

TEST(PolyMeshTest, NewMeshHasItsDefaults) {
    PolyMesh mesh;
    EXPECT_TRUE(mesh.name.empty());
    EXPECT_EQ(mesh.colour, 0xDCD2BEu);
    EXPECT_EQ(mesh.mirror, MirrorMode::kNone);
    EXPECT_FALSE(mesh.mirrorDistanceSet);
    EXPECT_TRUE(mesh.mirrorAxisX);
    EXPECT_FALSE(mesh.mirrorAxisY);
    EXPECT_FALSE(mesh.mirrorAxisZ);
    EXPECT_EQ(mesh.mirrorDistance, 100.0f);
    EXPECT_FALSE(mesh.lathe);
    EXPECT_EQ(mesh.latheAxis, Axis::kY);
    EXPECT_EQ(mesh.latheSegments, 12);
    EXPECT_EQ(mesh.vertexCount(), 0);
    EXPECT_TRUE(mesh.edges.empty());
    EXPECT_TRUE(mesh.faces.empty());
    EXPECT_TRUE(mesh.lines.empty());
    EXPECT_TRUE(mesh.triangles.empty());
    EXPECT_TRUE(mesh.quads.empty());
    EXPECT_FALSE(mesh.edgesValid);
    EXPECT_FALSE(mesh.faceListsValid);
    EXPECT_FALSE(mesh.NeedsModifiers());
}

TEST(PolyMeshTest, NewFaceRecordHasThreeCornersAllZero) {
    MeshFace face;
    EXPECT_EQ(face.cornerCount, 3);
    for (std::int32_t c : face.corners) {
        EXPECT_EQ(c, 0);
    }
}

TEST(PolyMeshTest, SetVertexCountAllocatesAtOriginWithEmptyLists) {
    PolyMesh mesh;
    mesh.SetVertexCount(4);
    ASSERT_EQ(mesh.vertexCount(), 4);
    EXPECT_EQ(mesh.positions.count(), 4);
    for (std::int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(mesh.positions[i].x, 0.0f);
        EXPECT_EQ(mesh.positions[i].y, 0.0f);
        EXPECT_EQ(mesh.positions[i].z, 0.0f);
        EXPECT_TRUE(mesh.vertexTriangles[i].empty());
        EXPECT_TRUE(mesh.vertexQuads[i].empty());
    }
    mesh.positions[1].Set(1, 2, 3);
    mesh.SetVertexCount(2);  // discards everything
    EXPECT_EQ(mesh.vertexCount(), 2);
    EXPECT_EQ(mesh.positions[1].x, 0.0f);
    mesh.SetVertexCount(0);
    EXPECT_EQ(mesh.vertexCount(), 0);
    EXPECT_EQ(mesh.positions.capacity(), 0);
    mesh.SetVertexCount(-3);
    EXPECT_EQ(mesh.vertexCount(), 0);
}

TEST(PolyMeshTest, ResizeVerticesKeepsLeadingPositionsAndZeroesNewOnes) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}});
    mesh.ResizeVertices(2);
    EXPECT_EQ(mesh.vertexCount(), 2);
    EXPECT_EQ(mesh.positions[1].x, 2.0f);
    EXPECT_EQ(mesh.positions.capacity(), 3);  // shrinking only lowers the count
    // Growing back within the capacity: the array would hand back the old element, but a new
    // vertex is placed at the origin.
    mesh.ResizeVertices(3);
    EXPECT_EQ(mesh.positions.capacity(), 3);
    EXPECT_EQ(mesh.positions[2].x, 0.0f);
    EXPECT_EQ(mesh.positions[2].z, 0.0f);
    // Growing past the capacity: exact, leading positions kept.
    mesh.ResizeVertices(4);
    EXPECT_EQ(mesh.vertexCount(), 4);
    EXPECT_EQ(mesh.positions.capacity(), 4);
    EXPECT_EQ(mesh.positions[0].x, 1.0f);
    EXPECT_EQ(mesh.positions[1].y, 2.0f);
    EXPECT_EQ(mesh.positions[3].z, 0.0f);
    EXPECT_TRUE(mesh.vertexTriangles[3].empty());
    mesh.ResizeVertices(0);
    EXPECT_EQ(mesh.vertexCount(), 0);
    mesh.ResizeVertices(2);  // from nothing
    EXPECT_EQ(mesh.vertexCount(), 2);
    EXPECT_EQ(mesh.positions[0].x, 0.0f);
}

TEST(PolyMeshTest, ResizeVerticesInvalidatesFaceLists) {
    PolyMesh mesh;
    SetPositions(mesh, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    AddTriangle(mesh, 0, 1, 2);
    BuildVertexFaceLists(mesh);
    EXPECT_TRUE(mesh.faceListsValid);
    mesh.ResizeVertices(4);
    EXPECT_FALSE(mesh.faceListsValid);
    BuildVertexFaceLists(mesh);
    mesh.SetVertexCount(3);  // new, empty lists: no longer current
    EXPECT_FALSE(mesh.faceListsValid);
}

TEST(PolyMeshTest, SetFaceCountAllocatesNewRecords) {
    PolyMesh mesh;
    mesh.SetFaceCount(3);
    ASSERT_EQ(mesh.faces.count(), 3);
    mesh.faces[0].cornerCount = 4;
    mesh.SetFaceCount(2);
    EXPECT_EQ(mesh.faces.count(), 2);
    EXPECT_EQ(mesh.faces.capacity(), 2);
    EXPECT_EQ(mesh.faces[0].cornerCount, 3);
    mesh.SetFaceCount(0);
    EXPECT_TRUE(mesh.faces.empty());
}

TEST(PolyMeshTest, ResizeFacesKeepsRecordsAndAddsNewOnes) {
    PolyMesh mesh;
    for (FaceList list :
         {FaceList::kFaces, FaceList::kLines, FaceList::kTriangles, FaceList::kQuads}) {
        mesh.ResizeFaces(list, 2);
        GrowableArray<MeshFace>& target = list == FaceList::kFaces       ? mesh.faces
                                          : list == FaceList::kLines     ? mesh.lines
                                          : list == FaceList::kTriangles ? mesh.triangles
                                                                         : mesh.quads;
        ASSERT_EQ(target.count(), 2);
        target[0].corners[0] = 7;
        target[1].corners[0] = 8;
        target[1].cornerCount = 4;
        mesh.ResizeFaces(list, 1);
        EXPECT_EQ(target.count(), 1);
        EXPECT_EQ(target.capacity(), 2);
        // Growing again within the capacity: the record coming back is a new record.
        mesh.ResizeFaces(list, 2);
        EXPECT_EQ(target[0].corners[0], 7);
        EXPECT_EQ(target[1].corners[0], 0);
        EXPECT_EQ(target[1].cornerCount, 3);
        mesh.ResizeFaces(list, 5);  // exact growth
        EXPECT_EQ(target.capacity(), 5);
        EXPECT_EQ(target[0].corners[0], 7);
        EXPECT_EQ(target[4].cornerCount, 3);
        mesh.ResizeFaces(list, 0);
        EXPECT_TRUE(target.empty());
        mesh.ResizeFaces(list, -2);
        EXPECT_TRUE(target.empty());
    }
}

TEST(PolyMeshTest, SplitFacesSortsByCornerCountAndDropsOthers) {
    PolyMesh mesh;
    SetPositions(mesh, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}});
    AddFace(mesh, FaceList::kFaces, {0, 1, 2});
    AddFace(mesh, FaceList::kFaces, {0});           // 1 corner
    AddFace(mesh, FaceList::kFaces, {0, 1});        // line
    AddFace(mesh, FaceList::kFaces, {0, 1, 2, 3});  // quad
    mesh.ResizeFaces(FaceList::kFaces, 6);
    mesh.faces[4].cornerCount = 5;  // 5 corners
    mesh.faces[5].cornerCount = 0;
    AddFace(mesh, FaceList::kFaces, {2, 3, 4});
    mesh.SplitFaces();
    EXPECT_TRUE(mesh.faces.empty());
    EXPECT_EQ(Faces(mesh.lines), (std::vector<Corners>{{0, 1}}));
    EXPECT_EQ(Faces(mesh.triangles), (std::vector<Corners>{{0, 1, 2}, {2, 3, 4}}));
    EXPECT_EQ(Faces(mesh.quads), (std::vector<Corners>{{0, 1, 2, 3}}));
    BuildEdges(mesh);
    // 0-1, then 1-2, 2-0, then 2-3, 3-4, 4-2, then 3-0 from the quad: nothing from 1 or 5 corners.
    EXPECT_EQ(mesh.edges.count(), 7);
}

TEST(PolyMeshTest, ClearFacesEmptiesEveryList) {
    PolyMesh mesh;
    SetPositions(mesh, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    AddFace(mesh, FaceList::kFaces, {0, 1, 2});
    AddLine(mesh, 0, 1);
    AddTriangle(mesh, 0, 1, 2);
    AddQuad(mesh, 0, 1, 2, 3);
    mesh.ClearFaces();
    EXPECT_TRUE(mesh.faces.empty());
    EXPECT_TRUE(mesh.lines.empty());
    EXPECT_TRUE(mesh.triangles.empty());
    EXPECT_TRUE(mesh.quads.empty());
    EXPECT_EQ(mesh.vertexCount(), 4);
}

TEST(PolyMeshTest, NeedsModifiers) {
    PolyMesh mesh;
    SetPositions(mesh, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    AddLine(mesh, 0, 1);
    EXPECT_FALSE(mesh.NeedsModifiers());
    mesh.lathe = true;
    EXPECT_TRUE(mesh.NeedsModifiers());
    mesh.lathe = false;
    mesh.mirror = MirrorMode::kSeparate;
    EXPECT_FALSE(mesh.NeedsModifiers());  // lines only: never mirrored
    AddTriangle(mesh, 0, 1, 2);
    EXPECT_TRUE(mesh.NeedsModifiers());
    mesh.mirrorAxisX = false;
    EXPECT_FALSE(mesh.NeedsModifiers());  // no axis
    mesh.mirrorAxisZ = true;
    EXPECT_TRUE(mesh.NeedsModifiers());
}

TEST(PolyMeshTest, DropInvalidFacesRemovesOutOfRangeRecordsAndCountsThem) {
    PolyMesh mesh;
    SetPositions(mesh, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    AddLine(mesh, 0, 1);
    AddLine(mesh, 0, 4);  // out of range
    AddTriangle(mesh, 0, -1, 2);
    AddTriangle(mesh, 1, 2, 3);
    AddTriangle(mesh, 3, 2, 2147483647);
    AddQuad(mesh, 0, 1, 2, 3);
    AddQuad(mesh, 0, 1, 2, 4);
    mesh.edgesValid = true;
    EXPECT_EQ(mesh.DropInvalidFaces(), 4);
    EXPECT_EQ(Faces(mesh.lines), (std::vector<Corners>{{0, 1}}));
    EXPECT_EQ(Faces(mesh.triangles), (std::vector<Corners>{{1, 2, 3}}));
    EXPECT_EQ(Faces(mesh.quads), (std::vector<Corners>{{0, 1, 2, 3}}));
    EXPECT_FALSE(mesh.edgesValid);  // the face lists changed
    EXPECT_EQ(mesh.DropInvalidFaces(), 0);
}

TEST(PolyMeshTest, DropInvalidFacesOnRawFacesLeavesOtherCornerCountsToSplitFaces) {
    PolyMesh mesh;
    SetPositions(mesh, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    AddFace(mesh, FaceList::kFaces, {0, 1, 2});
    AddFace(mesh, FaceList::kFaces, {0, 1, 9});
    AddFace(mesh, FaceList::kFaces, {-5, 1});
    AddFace(mesh, FaceList::kFaces, {0, 1, 2, 2});
    mesh.ResizeFaces(FaceList::kFaces, 5);
    mesh.faces[4].cornerCount = 7;  // not a usable face: left for SplitFaces
    mesh.faces[4].corners[0] = 99;
    EXPECT_EQ(mesh.DropInvalidFaces(), 2);
    ASSERT_EQ(mesh.faces.count(), 3);
    EXPECT_EQ(mesh.faces[2].cornerCount, 7);
    mesh.SplitFaces();
    EXPECT_EQ(mesh.triangles.count(), 1);
    EXPECT_EQ(mesh.quads.count(), 1);
    EXPECT_TRUE(mesh.lines.empty());
}

TEST(PolyMeshTest, DropInvalidFacesDropsEverythingWithoutVertices) {
    PolyMesh mesh;
    AddTriangle(mesh, 0, 0, 0);
    AddLine(mesh, 0, 0);
    EXPECT_EQ(mesh.DropInvalidFaces(), 2);
    EXPECT_TRUE(mesh.triangles.empty());
    EXPECT_TRUE(mesh.lines.empty());
}

TEST(PolyMeshTest, DropInvalidFacesNormalisesCornerCountOfCategoryLists) {
    PolyMesh mesh;
    SetPositions(mesh, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    mesh.ResizeFaces(FaceList::kQuads, 1);  // a new record says 3 corners
    mesh.quads[0].corners[0] = 0;
    mesh.quads[0].corners[1] = 1;
    mesh.quads[0].corners[2] = 2;
    mesh.quads[0].corners[3] = 3;
    EXPECT_EQ(mesh.DropInvalidFaces(), 0);
    EXPECT_EQ(mesh.quads[0].cornerCount, 4);
}

}  // namespace
}  // namespace korvane
