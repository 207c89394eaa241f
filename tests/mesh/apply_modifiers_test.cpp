#include <gtest/gtest.h>

#include "mesh/mesh_operations.h"
#include "mesh_test_util.h"

namespace korvane {
namespace {

using testing::AddLine;
using testing::AddQuad;
using testing::AddTriangle;
using testing::Corners;
using testing::EdgePair;
using testing::Edges;
using testing::ExpectEdgesSound;
using testing::ExpectFaceListsMatch;
using testing::ExpectFacesSound;
using testing::Faces;
using testing::RebuiltEdgeSet;
using testing::SetPositions;
using testing::Snapshot;
using testing::UnorderedEdgeSet;

// What FinishObject does before ApplyModifiers: derive the edges.
void Finish(PolyMesh& mesh) {
    BuildEdges(mesh);
    if (mesh.NeedsModifiers()) {
        ApplyModifiers(mesh);
    }
}

void ExpectSound(const PolyMesh& mesh) {
    ExpectEdgesSound(mesh);
    ExpectFacesSound(mesh);
    EXPECT_EQ(UnorderedEdgeSet(mesh), RebuiltEdgeSet(mesh));
}

TEST(ApplyModifiersTest, ConnectedMirrorReplacesTheGeometryAndSwitchesOff) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 0, 0}, {2, 0, 0}, {1, 1, 0}});
    AddTriangle(mesh, 0, 1, 2);
    mesh.mirror = MirrorMode::kConnected;
    mesh.name = "half";
    mesh.colour = 0x0000FF;
    Finish(mesh);
    EXPECT_EQ(mesh.vertexCount(), 6);
    EXPECT_EQ(mesh.edges.count(), 9);
    EXPECT_EQ(mesh.quads.count(), 3);
    EXPECT_EQ(mesh.mirror, MirrorMode::kNone);
    EXPECT_FALSE(mesh.lathe);
    EXPECT_TRUE(mesh.edgesValid);
    ExpectFaceListsMatch(mesh);
    EXPECT_EQ(mesh.name, "half");
    EXPECT_EQ(mesh.colour, 0x0000FFu);
    EXPECT_TRUE(mesh.mirrorAxisX);  // the other settings stay
    ExpectSound(mesh);
}

TEST(ApplyModifiersTest, SecondCallChangesNothing) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 0, 0}, {1, 1, 0}, {2, 0.5f, 0}});
    AddLine(mesh, 0, 1);
    AddTriangle(mesh, 0, 1, 2);
    mesh.lathe = true;
    mesh.latheSegments = 5;
    mesh.mirror = MirrorMode::kConnected;
    mesh.mirrorAxisY = true;
    BuildEdges(mesh);
    ApplyModifiers(mesh);
    const testing::MeshSnapshot first = Snapshot(mesh);
    EXPECT_GT(mesh.vertexCount(), 3);
    ApplyModifiers(mesh);
    EXPECT_EQ(Snapshot(mesh), first);
    EXPECT_FALSE(mesh.NeedsModifiers());
}

TEST(ApplyModifiersTest, MirrorThreeLeavesNoVertices) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 0, 0}, {2, 0, 0}, {1, 1, 0}});
    AddTriangle(mesh, 0, 1, 2);
    mesh.mirror = static_cast<MirrorMode>(3);  // a mode no reader lets through
    mesh.name = "gone";
    Finish(mesh);
    EXPECT_EQ(mesh.vertexCount(), 0);
    EXPECT_TRUE(mesh.edges.empty());
    EXPECT_TRUE(mesh.triangles.empty());
    EXPECT_EQ(mesh.name, "gone");
    EXPECT_EQ(mesh.mirror, MirrorMode::kNone);
}

TEST(ApplyModifiersTest, LinesOnlyWithMirrorAndNoLatheAreNotMirrored) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 0, 0}, {2, 0, 0}});
    AddLine(mesh, 0, 1);
    mesh.mirror = MirrorMode::kConnected;
    BuildEdges(mesh);
    EXPECT_FALSE(mesh.NeedsModifiers());
    // Even when run anyway, the mirror of lines only is a copy.
    ApplyModifiers(mesh);
    EXPECT_EQ(mesh.vertexCount(), 2);
    EXPECT_EQ(Faces(mesh.lines), (std::vector<Corners>{{0, 1}}));
    EXPECT_EQ(Edges(mesh), (std::vector<EdgePair>{{0, 1}}));
    EXPECT_EQ(mesh.mirror, MirrorMode::kNone);
}

TEST(ApplyModifiersTest, LinesOnlyWithLatheAndMirrorAreSweptThenMirrored) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 0, 0}, {1, 1, 0}});
    AddLine(mesh, 0, 1);
    mesh.lathe = true;
    mesh.latheSegments = 4;
    mesh.mirror = MirrorMode::kSeparate;
    Finish(mesh);
    // Lathe: 8 vertices, 12 edges, 4 quads; the separate mirror doubles each.
    ASSERT_EQ(mesh.vertexCount(), 16);
    EXPECT_EQ(mesh.edges.count(), 24);
    ASSERT_EQ(mesh.quads.count(), 8);
    EXPECT_TRUE(mesh.lines.empty());
    const std::vector<Corners> quads = Faces(mesh.quads);
    EXPECT_EQ(std::vector<Corners>(quads.begin(), quads.begin() + 4),
              (std::vector<Corners>{{0, 1, 5, 2}, {2, 5, 6, 3}, {3, 6, 7, 4}, {4, 7, 1, 0}}));
    EXPECT_EQ(quads[4], (Corners{10, 13, 9, 8}));
    EXPECT_EQ(quads[7], (Corners{8, 9, 15, 12}));
    EXPECT_EQ(mesh.positions[8].x, -mesh.positions[0].x);
    EXPECT_FALSE(mesh.lathe);
    EXPECT_EQ(mesh.mirror, MirrorMode::kNone);
    ExpectSound(mesh);
}

TEST(ApplyModifiersTest, LatheThenConnectedMirrorIsSound) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 0, 0}, {2, 1, 0}, {1, 2, 0}});
    AddLine(mesh, 0, 1);
    AddLine(mesh, 1, 2);
    mesh.lathe = true;
    mesh.latheSegments = 6;
    mesh.mirror = MirrorMode::kConnected;
    Finish(mesh);
    EXPECT_EQ(mesh.quads.count() % 2, 0);
    EXPECT_GE(mesh.quads.count(), 2 * 2 * 6);
    ExpectSound(mesh);
    ExpectFaceListsMatch(mesh);
}

TEST(ApplyModifiersTest, TwoAxesGiveFourQuarters) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 1, 0}, {2, 1, 0}, {1, 2, 0}});
    AddTriangle(mesh, 0, 1, 2);
    mesh.mirror = MirrorMode::kSeparate;
    mesh.mirrorAxisY = true;
    Finish(mesh);
    ASSERT_EQ(mesh.vertexCount(), 12);
    ASSERT_EQ(mesh.triangles.count(), 4);
    EXPECT_EQ(Faces(mesh.triangles),
              (std::vector<Corners>{{0, 1, 2}, {5, 4, 3}, {8, 7, 6}, {9, 10, 11}}));
    bool quarter[2][2] = {};
    for (const MeshFace& t : mesh.triangles) {
        float cx = 0;
        float cy = 0;
        for (std::int32_t k = 0; k < 3; ++k) {
            cx += mesh.positions[t.corners[k]].x;
            cy += mesh.positions[t.corners[k]].y;
        }
        quarter[cx > 0][cy > 0] = true;
    }
    EXPECT_TRUE(quarter[0][0] && quarter[0][1] && quarter[1][0] && quarter[1][1]);
    ExpectSound(mesh);
}

TEST(ApplyModifiersTest, TwoAxesConnectedMirrorTheClosedResultOfTheFirst) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 1, 0}, {2, 1, 0}, {1, 2, 0}});
    AddTriangle(mesh, 0, 1, 2);
    mesh.mirror = MirrorMode::kConnected;
    mesh.mirrorAxisY = true;
    Finish(mesh);
    // X: 6 vertices, 9 edges, 2 triangles, 3 quads, closed; Y doubles it without bridges.
    EXPECT_EQ(mesh.vertexCount(), 12);
    EXPECT_EQ(mesh.edges.count(), 18);
    EXPECT_EQ(mesh.triangles.count(), 4);
    EXPECT_EQ(mesh.quads.count(), 6);
    ExpectSound(mesh);
}

TEST(ApplyModifiersTest, ThreeAxesGiveEightParts) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 1, 1}, {2, 1, 1}, {1, 2, 1}});
    AddTriangle(mesh, 0, 1, 2);
    mesh.mirror = MirrorMode::kSeparate;
    mesh.mirrorAxisY = true;
    mesh.mirrorAxisZ = true;
    Finish(mesh);
    EXPECT_EQ(mesh.vertexCount(), 24);
    EXPECT_EQ(mesh.triangles.count(), 8);
    EXPECT_EQ(mesh.edges.count(), 24);
    ExpectSound(mesh);
}

TEST(ApplyModifiersTest, OnlyTheYAxis) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 1, 0}, {2, 1, 0}, {1, 2, 0}});
    AddTriangle(mesh, 0, 1, 2);
    mesh.mirror = MirrorMode::kSeparate;
    mesh.mirrorAxisX = false;
    mesh.mirrorAxisY = true;
    Finish(mesh);
    ASSERT_EQ(mesh.vertexCount(), 6);
    EXPECT_EQ(mesh.positions[3].x, 1.0f);
    EXPECT_EQ(mesh.positions[3].y, -1.0f);
}

TEST(ApplyModifiersTest, MirrorWithNoAxisChangesNothingButSwitchesOff) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 1, 0}, {2, 1, 0}, {1, 2, 0}});
    AddTriangle(mesh, 0, 1, 2);
    mesh.mirror = MirrorMode::kSeparate;
    mesh.mirrorAxisX = false;
    BuildEdges(mesh);
    ApplyModifiers(mesh);
    EXPECT_EQ(mesh.vertexCount(), 3);
    EXPECT_EQ(mesh.mirror, MirrorMode::kNone);
}

TEST(ApplyModifiersTest, LatheOnAnObjectWithoutLinesCopiesIt) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 1, 0}, {2, 1, 0}, {1, 2, 0}, {2, 2, 0}});
    AddTriangle(mesh, 0, 1, 2);
    AddQuad(mesh, 0, 1, 3, 2);
    mesh.lathe = true;
    BuildEdges(mesh);
    const testing::MeshSnapshot before = Snapshot(mesh);
    ApplyModifiers(mesh);
    testing::MeshSnapshot after = Snapshot(mesh);
    EXPECT_EQ(after.positions, before.positions);
    EXPECT_EQ(after.edges, before.edges);
    EXPECT_EQ(after.triangles, before.triangles);
    EXPECT_EQ(after.quads, before.quads);
    EXPECT_FALSE(mesh.lathe);
}

TEST(ApplyModifiersTest, NothingSetLeavesTheMeshAlone) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 1, 0}, {2, 1, 0}, {1, 2, 0}});
    AddTriangle(mesh, 0, 1, 2);
    const testing::MeshSnapshot before = Snapshot(mesh);
    ApplyModifiers(mesh);
    EXPECT_EQ(Snapshot(mesh), before);
}

TEST(ApplyModifiersTest, EmptyMeshWithEverythingSet) {
    PolyMesh mesh;
    mesh.lathe = true;
    mesh.mirror = MirrorMode::kConnected;
    mesh.mirrorAxisY = true;
    mesh.mirrorAxisZ = true;
    ApplyModifiers(mesh);
    EXPECT_EQ(mesh.vertexCount(), 0);
    EXPECT_FALSE(mesh.lathe);
    EXPECT_EQ(mesh.mirror, MirrorMode::kNone);
}

}  // namespace
}  // namespace korvane
