#include <gtest/gtest.h>

#include <limits>

#include "mesh/mesh_operations.h"
#include "mesh_test_util.h"

// Bad geometry: corners and edge ends out of range, stale derived data, absurd settings, a mesh
// that is both source and target. None of it may crash; faces with a bad corner are dropped.

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
using testing::SetPositions;

constexpr std::int32_t kBig = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kSmall = std::numeric_limits<std::int32_t>::min();

// Three good vertices off the plane x = 0, one good triangle and one good line among bad records.
void BadMesh(PolyMesh& mesh) {
    SetPositions(mesh, {{1, 0, 0}, {2, 0, 0}, {1, 1, 0}});
    AddLine(mesh, 0, 3);
    AddLine(mesh, -1, 0);
    AddLine(mesh, 1, 2);
    AddTriangle(mesh, 0, 1, kBig);
    AddTriangle(mesh, kSmall, 1, 2);
    AddTriangle(mesh, 0, 1, 2);
    AddQuad(mesh, 0, 1, 2, 3);
    AddQuad(mesh, -7, -7, -7, -7);
}

void ExpectSound(const PolyMesh& mesh) {
    ExpectEdgesSound(mesh);
    ExpectFacesSound(mesh);
}

TEST(RobustnessTest, BuildEdgesSkipsFacesWithBadCorners) {
    PolyMesh mesh;
    BadMesh(mesh);
    BuildEdges(mesh);
    EXPECT_EQ(Edges(mesh), (std::vector<EdgePair>{{1, 2}, {0, 1}, {2, 0}}));
}

TEST(RobustnessTest, BuildVertexFaceListsSkipsFacesWithBadCorners) {
    PolyMesh mesh;
    BadMesh(mesh);
    BuildVertexFaceLists(mesh);
    for (std::int32_t v = 0; v < 3; ++v) {
        ASSERT_EQ(mesh.vertexTriangles[v].count(), 1);
        EXPECT_EQ(mesh.vertexTriangles[v][0], 2);
        EXPECT_TRUE(mesh.vertexQuads[v].empty());
    }
}

TEST(RobustnessTest, DropInvalidFacesThenTheMeshIsClean) {
    PolyMesh mesh;
    BadMesh(mesh);
    EXPECT_EQ(mesh.DropInvalidFaces(), 6);
    EXPECT_EQ(Faces(mesh.lines), (std::vector<Corners>{{1, 2}}));
    EXPECT_EQ(Faces(mesh.triangles), (std::vector<Corners>{{0, 1, 2}}));
    EXPECT_TRUE(mesh.quads.empty());
    BuildEdges(mesh);
    BuildVertexFaceLists(mesh);
    ExpectSound(mesh);
    ExpectFaceListsMatch(mesh);
}

TEST(RobustnessTest, CopyDropsBadRecords) {
    PolyMesh source;
    BadMesh(source);
    PolyMesh target;
    CopyGeometry(source, target);
    EXPECT_EQ(Faces(target.lines), (std::vector<Corners>{{1, 2}}));
    EXPECT_EQ(Faces(target.triangles), (std::vector<Corners>{{0, 1, 2}}));
    EXPECT_TRUE(target.quads.empty());
    ExpectSound(target);
    ExpectFaceListsMatch(target);
}

TEST(RobustnessTest, EveryModifierOnBadRecords) {
    for (std::int32_t mirror : {0, 1, 2, 3}) {
        for (std::int32_t lathe : {0, 1}) {
            PolyMesh mesh;
            BadMesh(mesh);
            mesh.mirror = static_cast<MirrorMode>(mirror);
            mesh.lathe = lathe != 0;
            mesh.mirrorAxisY = true;
            mesh.mirrorAxisZ = true;
            mesh.latheSegments = 5;
            BuildEdges(mesh);
            ApplyModifiers(mesh);
            ExpectEdgesSound(mesh);
            if (mirror == 0 && lathe == 0) {
                continue;  // nothing ran: the records stay as they were (edges skipped them)
            }
            ExpectFacesSound(mesh);  // every modifier stage drops the bad records
            if (mesh.vertexCount() > 0) {
                ExpectFaceListsMatch(mesh);
            }
        }
    }
}

TEST(RobustnessTest, LatheAndMirrorDirectlyOnBadRecordsWithoutEdges) {
    PolyMesh source;
    BadMesh(source);
    source.lathe = true;
    source.latheSegments = 4;
    PolyMesh target;
    Lathe(source, target);
    ExpectSound(target);
    // Profile: the single good line (1, 2).
    EXPECT_EQ(target.vertexCount(), 3 + 2 * 3);
    EXPECT_EQ(target.quads.count(), 4);
    EXPECT_EQ(target.triangles.count(), 1);
    for (MirrorMode mirror : {MirrorMode::kSeparate, MirrorMode::kConnected}) {
        PolyMesh half;
        BadMesh(half);
        half.mirror = mirror;
        Mirror(half, target, Axis::kX);
        ExpectSound(target);
        EXPECT_EQ(target.triangles.count(), 2);  // the good one and its image
        EXPECT_EQ(target.quads.count(), mirror == MirrorMode::kSeparate ? 0 : 3);
        EXPECT_EQ(target.lines.count(), 2);
    }
}

TEST(RobustnessTest, OnlyBadFacesMeansNoFacesForTheModifiers) {
    PolyMesh source;
    SetPositions(source, {{1, 0, 0}, {2, 0, 0}});
    AddTriangle(source, 0, 1, 2);
    AddLine(source, 0, 5);
    source.mirror = MirrorMode::kConnected;
    source.lathe = true;
    PolyMesh target;
    Mirror(source, target, Axis::kX);  // a copy: no usable triangle or quad
    EXPECT_EQ(target.vertexCount(), 2);
    EXPECT_TRUE(target.triangles.empty());
    Lathe(source, target);  // a copy: no usable line
    EXPECT_EQ(target.vertexCount(), 2);
    EXPECT_TRUE(target.lines.empty());
}

TEST(RobustnessTest, HandMadeBadEdgesAreNeverFollowed) {
    PolyMesh source;
    SetPositions(source, {{1, 0, 0}, {2, 0, 0}, {1, 1, 0}});
    AddTriangle(source, 0, 1, 2);
    AddLine(source, 0, 1);
    source.edges.Allocate(5);
    source.edges[0] = MeshEdge{0, 1};
    source.edges[1] = MeshEdge{1, 9};
    source.edges[2] = MeshEdge{-1, 2};
    source.edges[3] = MeshEdge{2, 2};
    source.edges[4] = MeshEdge{1, 2};
    source.edgesValid = true;
    PolyMesh target;
    CopyGeometry(source, target);
    EXPECT_EQ(Edges(target), (std::vector<EdgePair>{{0, 1}, {1, 2}}));
    for (MirrorMode mirror : {MirrorMode::kSeparate, MirrorMode::kConnected}) {
        source.mirror = mirror;
        Mirror(source, target, Axis::kX);
        ExpectSound(target);
    }
    source.lathe = true;
    source.latheSegments = 3;
    Lathe(source, target);
    ExpectSound(target);
    EXPECT_EQ(Edges(target).front(), (EdgePair{0, 1}));
    EXPECT_EQ(Edges(target)[1], (EdgePair{1, 2}));
}

TEST(RobustnessTest, StaleFaceListsAreNeverFollowed) {
    PolyMesh source;
    SetPositions(source, {{1, 0, 0}, {2, 0, 0}, {1, 1, 0}, {2, 1, 0}});
    AddTriangle(source, 0, 1, 2);
    AddTriangle(source, 1, 3, 2);
    AddQuad(source, 0, 1, 3, 2);
    AddQuad(source, 0, 1, 3, 2);
    BuildEdges(source);
    BuildVertexFaceLists(source);
    // Shrink the face lists behind the operations' back; the flags still claim they are current.
    source.ResizeFaces(FaceList::kTriangles, 1);
    source.ResizeFaces(FaceList::kQuads, 1);
    source.mirror = MirrorMode::kConnected;
    PolyMesh target;
    Mirror(source, target, Axis::kX);
    ExpectSound(target);
}

TEST(RobustnessTest, CornerCountFieldOfCategoryRecordsIsNotTrusted) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 0, 0}, {2, 0, 0}, {1, 1, 0}, {2, 1, 0}});
    AddTriangle(mesh, 0, 1, 2);
    mesh.triangles[0].cornerCount = 1000;
    AddQuad(mesh, 0, 1, 3, 2);
    mesh.quads[0].cornerCount = -5;
    AddLine(mesh, 0, 3);
    mesh.lines[0].cornerCount = 77;
    mesh.mirror = MirrorMode::kConnected;
    BuildEdges(mesh);
    EXPECT_EQ(Edges(mesh), (std::vector<EdgePair>{{0, 3}, {0, 1}, {1, 2}, {2, 0}, {1, 3}, {3, 2}}));
    ApplyModifiers(mesh);
    ExpectSound(mesh);
}

TEST(RobustnessTest, SourceAndTargetTheSameMesh) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 0, 0}, {1, 1, 0}, {2, 0, 0}});
    AddLine(mesh, 0, 1);
    AddTriangle(mesh, 0, 1, 2);
    mesh.lathe = true;
    mesh.latheSegments = 4;
    CopyGeometry(mesh, mesh);
    EXPECT_EQ(mesh.vertexCount(), 3);
    EXPECT_TRUE(mesh.edgesValid);
    ExpectFaceListsMatch(mesh);
    Lathe(mesh, mesh);
    EXPECT_EQ(mesh.vertexCount(), 3 + 2 * 3);
    EXPECT_EQ(mesh.quads.count(), 4);
    ExpectSound(mesh);
    mesh.mirror = MirrorMode::kConnected;
    Mirror(mesh, mesh, Axis::kX);
    ExpectSound(mesh);
    EXPECT_GT(mesh.vertexCount(), 9);
    CopySettings(mesh, mesh);
    EXPECT_EQ(mesh.mirror, MirrorMode::kConnected);
}

TEST(RobustnessTest, HugeLatheInApplyModifiersLeavesTheObjectUnswept) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 0, 0}, {1, 1, 0}});
    AddLine(mesh, 0, 1);
    mesh.lathe = true;
    mesh.latheSegments = kBig;
    mesh.mirror = MirrorMode::kSeparate;  // lines only: the mirror copies
    BuildEdges(mesh);
    ApplyModifiers(mesh);
    EXPECT_EQ(mesh.vertexCount(), 2);
    EXPECT_EQ(Faces(mesh.lines), (std::vector<Corners>{{0, 1}}));
    EXPECT_FALSE(mesh.lathe);
    EXPECT_EQ(mesh.mirror, MirrorMode::kNone);
}

TEST(RobustnessTest, HugeLatheWithManyProfileVertices) {
    // 1000 profile vertices x 100000 segments is past the cap although each factor is modest.
    PolyMesh mesh;
    std::vector<Vec3> points;
    for (std::int32_t i = 0; i < 1000; ++i) {
        points.push_back(Vec3{1.0f, static_cast<float>(i), 0.0f});
    }
    testing::SetVertices(mesh, points);
    for (std::int32_t i = 0; i + 1 < 1000; ++i) {
        AddLine(mesh, i, i + 1);
    }
    mesh.lathe = true;
    mesh.latheSegments = 100000;
    PolyMesh target;
    Lathe(mesh, target);
    EXPECT_EQ(target.vertexCount(), 1000);
    EXPECT_EQ(target.lines.count(), 999);
}

TEST(RobustnessTest, DegenerateLineTakesNoPartInTheSweep) {
    PolyMesh mesh;
    SetPositions(mesh, {{1, 0, 0}, {1, 1, 0}, {3, 3, 3}});
    AddLine(mesh, 2, 2);
    AddLine(mesh, 0, 1);
    mesh.lathe = true;
    mesh.latheSegments = 4;
    PolyMesh target;
    Lathe(mesh, target);
    EXPECT_EQ(target.vertexCount(), 3 + 2 * 3);
    EXPECT_EQ(target.quads.count(), 4);
    EXPECT_EQ(target.positions[2].x, 3.0f);  // not a profile vertex
    ExpectSound(target);
}

TEST(RobustnessTest, NonFinitePositionsDoNotBreakTheModifiers) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    PolyMesh mesh;
    SetPositions(mesh, {{inf, 0, 0}, {nan, nan, nan}, {-inf, 1, 0}, {1, 1, 1}});
    AddLine(mesh, 0, 1);
    AddTriangle(mesh, 1, 2, 3);
    AddQuad(mesh, 0, 1, 2, 3);
    mesh.lathe = true;
    mesh.latheAxis = Axis::kX;
    mesh.mirror = MirrorMode::kConnected;
    mesh.mirrorDistanceSet = true;
    mesh.mirrorDistance = nan;
    mesh.mirrorAxisY = true;
    BuildEdges(mesh);
    ApplyModifiers(mesh);
    ExpectSound(mesh);
}

}  // namespace
}  // namespace korvane
