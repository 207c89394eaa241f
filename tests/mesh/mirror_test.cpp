#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
using testing::ExpectFacesSound;
using testing::Faces;
using testing::RebuiltEdgeSet;
using testing::SetPositions;
using testing::UnorderedEdgeSet;

void ExpectAt(const Vec3& p, float x, float y, float z) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.z, z);
}

// Triangle (0, 1, 2) off the plane x = 0.
void OffPlaneTriangle(PolyMesh& mesh, MirrorMode mirror) {
    SetPositions(mesh, {{1, 0, 0}, {2, 0, 0}, {1, 1, 0}});
    AddTriangle(mesh, 0, 1, 2);
    mesh.mirror = mirror;
}

TEST(MirrorSeparateTest, TriangleAcrossX) {
    PolyMesh source;
    OffPlaneTriangle(source, MirrorMode::kSeparate);
    BuildEdges(source);
    PolyMesh target;
    Mirror(source, target, Axis::kX);
    ASSERT_EQ(target.vertexCount(), 6);
    ExpectAt(target.positions[0], 1, 0, 0);
    ExpectAt(target.positions[3], -1, 0, 0);
    ExpectAt(target.positions[4], -2, 0, 0);
    ExpectAt(target.positions[5], -1, 1, 0);
    EXPECT_EQ(Faces(target.triangles), (std::vector<Corners>{{0, 1, 2}, {5, 4, 3}}));
    EXPECT_TRUE(target.edgesValid);
    EXPECT_EQ(Edges(target),
              (std::vector<EdgePair>{{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 3}}));
    ExpectEdgesSound(target);
    ExpectFacesSound(target);
}

TEST(MirrorSeparateTest, WithoutValidSourceEdgesTheTargetHasNone) {
    PolyMesh source;
    OffPlaneTriangle(source, MirrorMode::kSeparate);
    PolyMesh target;
    Mirror(source, target, Axis::kX);
    EXPECT_FALSE(source.edgesValid);
    EXPECT_FALSE(target.edgesValid);
    EXPECT_TRUE(target.edges.empty());
    EXPECT_EQ(target.triangles.count(), 2);
}

TEST(MirrorSeparateTest, AxesYAndZAndEveryListReversed) {
    PolyMesh source;
    SetPositions(source, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {1, 1, 1}});
    AddLine(source, 0, 3);
    AddTriangle(source, 0, 1, 2);
    AddQuad(source, 0, 1, 2, 3);
    source.mirror = MirrorMode::kSeparate;
    PolyMesh target;
    Mirror(source, target, Axis::kY);
    ExpectAt(target.positions[4], 1, -2, 3);
    EXPECT_EQ(Faces(target.lines), (std::vector<Corners>{{0, 3}, {7, 4}}));
    EXPECT_EQ(Faces(target.triangles), (std::vector<Corners>{{0, 1, 2}, {6, 5, 4}}));
    EXPECT_EQ(Faces(target.quads), (std::vector<Corners>{{0, 1, 2, 3}, {7, 6, 5, 4}}));
    Mirror(source, target, Axis::kZ);
    ExpectAt(target.positions[6], 7, 8, -9);
    // A vertex on the plane is duplicated all the same.
    SetPositions(source, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 1}});
    Mirror(source, target, Axis::kX);
    EXPECT_EQ(target.vertexCount(), 8);
}

TEST(MirrorConnectedTest, TriangleWithNoVertexOnThePlane) {
    PolyMesh source;
    OffPlaneTriangle(source, MirrorMode::kConnected);
    PolyMesh target;
    Mirror(source, target, Axis::kX);
    ASSERT_EQ(target.vertexCount(), 6);
    ExpectAt(target.positions[3], -1, 0, 0);
    ExpectAt(target.positions[4], -2, 0, 0);
    ExpectAt(target.positions[5], -1, 1, 0);
    EXPECT_EQ(Edges(target),
              (std::vector<EdgePair>{
                  {0, 1}, {3, 4}, {1, 2}, {4, 5}, {2, 0}, {5, 3}, {0, 3}, {1, 4}, {2, 5}}));
    EXPECT_EQ(Faces(target.triangles), (std::vector<Corners>{{0, 1, 2}, {5, 4, 3}}));
    EXPECT_EQ(Faces(target.quads),
              (std::vector<Corners>{{1, 0, 3, 4}, {2, 1, 4, 5}, {0, 2, 5, 3}}));
    EXPECT_TRUE(target.lines.empty());
    EXPECT_TRUE(target.edgesValid);
    EXPECT_TRUE(source.edgesValid);
    EXPECT_TRUE(source.faceListsValid);
    ExpectEdgesSound(target);
    ExpectFacesSound(target);
    EXPECT_EQ(UnorderedEdgeSet(target), RebuiltEdgeSet(target));
}

TEST(MirrorConnectedTest, EdgeInThePlaneIsSharedNotMirroredNotBridged) {
    PolyMesh source;
    SetPositions(source, {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}});
    AddTriangle(source, 0, 1, 2);
    source.mirror = MirrorMode::kConnected;
    PolyMesh target;
    Mirror(source, target, Axis::kX);
    ASSERT_EQ(target.vertexCount(), 4);  // only vertex 2 is copied
    ExpectAt(target.positions[3], -1, 0, 0);
    EXPECT_EQ(Edges(target),
              (std::vector<EdgePair>{{0, 1}, {1, 2}, {1, 3}, {2, 0}, {3, 0}, {2, 3}}));
    EXPECT_EQ(Faces(target.triangles),
              (std::vector<Corners>{{0, 1, 2}, {3, 1, 0}, {2, 1, 3}, {0, 2, 3}}));
    EXPECT_TRUE(target.quads.empty());
    ExpectEdgesSound(target);
    EXPECT_EQ(UnorderedEdgeSet(target), RebuiltEdgeSet(target));
}

TEST(MirrorConnectedTest, NegativeZeroAndNaNLieOnThePlane) {
    PolyMesh source;
    SetPositions(source,
                 {{-0.0f, 0, 0}, {std::numeric_limits<float>::quiet_NaN(), 1, 0}, {1, 0, 0}});
    AddTriangle(source, 0, 1, 2);
    source.mirror = MirrorMode::kConnected;
    PolyMesh target;
    Mirror(source, target, Axis::kX);
    EXPECT_EQ(target.vertexCount(), 4);
    EXPECT_EQ(target.triangles.count(), 4);
    ExpectEdgesSound(target);
}

TEST(MirrorConnectedTest, ConnectionDistanceStopsTheBridgeButNotTheMirror) {
    PolyMesh source;
    SetPositions(source, {{0.2f, 0, 0}, {0.6f, 0, 0}, {0.2f, 1, 0}});
    AddTriangle(source, 0, 1, 2);
    source.mirror = MirrorMode::kConnected;
    source.mirrorDistanceSet = true;
    source.mirrorDistance = 0.5f;
    PolyMesh target;
    Mirror(source, target, Axis::kX);
    ASSERT_EQ(target.vertexCount(), 6);
    // 0-1 and 1-2 have an end at 0.6: mirrored, not bridged. 2-0 is bridged.
    EXPECT_EQ(Edges(target), (std::vector<EdgePair>{
                                 {0, 1}, {3, 4}, {1, 2}, {4, 5}, {2, 0}, {5, 3}, {2, 5}, {0, 3}}));
    EXPECT_EQ(Faces(target.quads), (std::vector<Corners>{{0, 2, 5, 3}}));
    EXPECT_EQ(Faces(target.triangles), (std::vector<Corners>{{0, 1, 2}, {5, 4, 3}}));
    ExpectEdgesSound(target);
}

TEST(MirrorConnectedTest, ConnectionDistanceOnlyWhenSetAndOnlyWhenGreater) {
    PolyMesh source;
    SetPositions(source, {{0.2f, 0, 0}, {0.6f, 0, 0}, {0.2f, 1, 0}});
    AddTriangle(source, 0, 1, 2);
    source.mirror = MirrorMode::kConnected;
    source.mirrorDistance = 0.5f;  // not set: ignored
    PolyMesh target;
    Mirror(source, target, Axis::kX);
    EXPECT_EQ(target.quads.count(), 3);
    source.mirrorDistanceSet = true;
    source.mirrorDistance = 0.6f;  // equal is not greater
    Mirror(source, target, Axis::kX);
    EXPECT_EQ(target.quads.count(), 3);
    source.mirrorDistance = -1.0f;
    Mirror(source, target, Axis::kX);
    EXPECT_EQ(target.quads.count(), 0);
    source.positions[1].x = -0.6f;  // the absolute value counts
    source.mirrorDistance = 0.5f;
    Mirror(source, target, Axis::kX);
    EXPECT_EQ(target.quads.count(), 1);
}

TEST(MirrorConnectedTest, InnerEdgesAreNotBridged) {
    // Two triangles sharing 0-2: the shared edge is inner, the other four are bridged.
    PolyMesh source;
    SetPositions(source, {{1, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}});
    AddTriangle(source, 0, 1, 2);
    AddTriangle(source, 0, 2, 3);
    source.mirror = MirrorMode::kConnected;
    PolyMesh target;
    Mirror(source, target, Axis::kX);
    EXPECT_EQ(target.quads.count(), 4);
    EXPECT_EQ(target.edges.count(), 5 * 2 + 4);
    ExpectEdgesSound(target);
    EXPECT_EQ(UnorderedEdgeSet(target), RebuiltEdgeSet(target));
}

TEST(MirrorConnectedTest, LooseLineIsBridgedAndLeavesTheLines) {
    PolyMesh source;
    SetPositions(source, {{1, 0, 0}, {2, 0, 0}, {1, 1, 0}, {1, 2, 0}, {2, 2, 0}});
    AddTriangle(source, 0, 1, 2);
    AddLine(source, 3, 4);
    source.mirror = MirrorMode::kConnected;
    PolyMesh target;
    Mirror(source, target, Axis::kX);
    ASSERT_EQ(target.vertexCount(), 10);
    EXPECT_TRUE(target.lines.empty());
    EXPECT_EQ(Faces(target.quads),
              (std::vector<Corners>{{4, 3, 8, 9}, {1, 0, 5, 6}, {2, 1, 6, 7}, {0, 2, 7, 5}}));
    EXPECT_EQ(Edges(target), (std::vector<EdgePair>{{3, 4},
                                                    {8, 9},
                                                    {0, 1},
                                                    {5, 6},
                                                    {1, 2},
                                                    {6, 7},
                                                    {2, 0},
                                                    {7, 5},
                                                    {3, 8},
                                                    {4, 9},
                                                    {0, 5},
                                                    {1, 6},
                                                    {2, 7}}));
    ExpectEdgesSound(target);
    EXPECT_EQ(UnorderedEdgeSet(target), RebuiltEdgeSet(target));
}

TEST(MirrorConnectedTest, RemovedLineMatchesEitherOrder) {
    // The line (4, 3) gives the edge 4-3; a second line (3, 4) is the same pair and goes too.
    PolyMesh source;
    SetPositions(source, {{1, 0, 0}, {2, 0, 0}, {1, 1, 0}, {1, 2, 0}, {2, 2, 0}});
    AddTriangle(source, 0, 1, 2);
    AddLine(source, 4, 3);
    AddLine(source, 3, 4);
    source.mirror = MirrorMode::kConnected;
    PolyMesh target;
    Mirror(source, target, Axis::kX);
    EXPECT_TRUE(target.lines.empty());
    EXPECT_EQ(Faces(target.quads)[0], (Corners{3, 4, 9, 8}));
}

TEST(MirrorConnectedTest, LineAlongAFaceSideIsKeptWithItsMirror) {
    // The line 0-1 lies along the triangle: one face holds it, so it is a boundary edge, bridged
    // but not loose; the line stays, followed by its mirror in the same corner order.
    PolyMesh source;
    OffPlaneTriangle(source, MirrorMode::kConnected);
    AddLine(source, 0, 1);
    PolyMesh target;
    Mirror(source, target, Axis::kX);
    EXPECT_EQ(Faces(target.lines), (std::vector<Corners>{{0, 1}, {3, 4}}));
    EXPECT_EQ(target.quads.count(), 3);
}

TEST(MirrorConnectedTest, LineInThePlaneIsKeptTwice) {
    PolyMesh source;
    SetPositions(source, {{1, 0, 0}, {2, 0, 0}, {1, 1, 0}, {0, 5, 0}, {0, 6, 0}});
    AddTriangle(source, 0, 1, 2);
    AddLine(source, 3, 4);
    source.mirror = MirrorMode::kConnected;
    PolyMesh target;
    Mirror(source, target, Axis::kX);
    EXPECT_EQ(target.vertexCount(), 8);
    EXPECT_EQ(Faces(target.lines), (std::vector<Corners>{{3, 4}, {3, 4}}));
    EXPECT_EQ(Edges(target)[0], (EdgePair{3, 4}));
    EXPECT_EQ(Edges(target)[1], (EdgePair{0, 1}));  // 3-4 is neither mirrored nor bridged
}

TEST(MirrorConnectedTest, LooseLineWithOneEndOnThePlaneGivesATriangle) {
    PolyMesh source;
    SetPositions(source, {{1, 0, 0}, {2, 0, 0}, {1, 1, 0}, {0, 3, 0}, {1, 3, 0}});
    AddTriangle(source, 0, 1, 2);
    AddLine(source, 3, 4);
    source.mirror = MirrorMode::kConnected;
    PolyMesh target;
    Mirror(source, target, Axis::kX);
    // map: 0->5, 1->6, 2->7, 3->3, 4->8
    EXPECT_TRUE(target.lines.empty());
    EXPECT_EQ(Faces(target.triangles), (std::vector<Corners>{{0, 1, 2}, {7, 6, 5}, {4, 3, 8}}));
    EXPECT_EQ(Edges(target).front(), (EdgePair{3, 4}));
    EXPECT_EQ(Edges(target)[1], (EdgePair{3, 8}));
    EXPECT_EQ(Edges(target)[8], (EdgePair{4, 8}));  // first joining edge
}

TEST(MirrorConnectedTest, QuadsAreMirroredReversed) {
    PolyMesh source;
    SetPositions(source, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    AddQuad(source, 0, 1, 2, 3);
    source.mirror = MirrorMode::kConnected;
    PolyMesh target;
    Mirror(source, target, Axis::kX);
    // map: 0->0, 1->4, 2->5, 3->3
    ASSERT_EQ(target.vertexCount(), 6);
    EXPECT_EQ(Faces(target.quads),
              (std::vector<Corners>{{0, 1, 2, 3}, {3, 5, 4, 0}, {2, 1, 4, 5}}));
    EXPECT_EQ(Faces(target.triangles), (std::vector<Corners>{{1, 0, 4}, {3, 2, 5}}));
    ExpectEdgesSound(target);
    EXPECT_EQ(UnorderedEdgeSet(target), RebuiltEdgeSet(target));
}

TEST(MirrorTest, MirrorOffOrNoFacesIsACopy) {
    PolyMesh source;
    OffPlaneTriangle(source, MirrorMode::kNone);
    PolyMesh target;
    Mirror(source, target, Axis::kX);
    EXPECT_EQ(target.vertexCount(), 3);
    EXPECT_EQ(target.triangles.count(), 1);
    EXPECT_EQ(target.edges.count(), 3);

    PolyMesh lines;
    SetPositions(lines, {{1, 0, 0}, {2, 0, 0}});
    AddLine(lines, 0, 1);
    for (std::int32_t mirror : {1, 2, 3}) {
        lines.mirror = static_cast<MirrorMode>(mirror);
        Mirror(lines, target, Axis::kX);
        EXPECT_EQ(target.vertexCount(), 2);
        EXPECT_EQ(Faces(target.lines), (std::vector<Corners>{{0, 1}}));
    }
}

TEST(MirrorTest, OtherMirrorValuesLeaveTheTargetEmpty) {
    for (std::int32_t mirror : {3, -1, 100}) {
        PolyMesh source;
        OffPlaneTriangle(source, static_cast<MirrorMode>(mirror));
        PolyMesh target;
        SetPositions(target, {{5, 5, 5}});
        Mirror(source, target, Axis::kX);
        EXPECT_EQ(target.vertexCount(), 0);
        EXPECT_TRUE(target.edges.empty());
        EXPECT_TRUE(target.triangles.empty());
    }
}

// A file's axis number: 0 is X, 1 is Y, any other Z.
TEST(MirrorTest, AxisNumbersOutsideZeroToOneMeanZ) {
    PolyMesh source;
    SetPositions(source, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    AddTriangle(source, 0, 1, 2);
    source.mirror = MirrorMode::kSeparate;
    const struct {
        std::int32_t number;
        float x, y, z;
    } kCases[] = {{0, -1, 2, 3}, {1, 1, -2, 3}, {2, 1, 2, -3}, {9, 1, 2, -3}, {-1, 1, 2, -3}};
    for (const auto& c : kCases) {
        PolyMesh target;
        Mirror(source, target, AxisNumbered(c.number));
        ExpectAt(target.positions[3], c.x, c.y, c.z);
    }
}

}  // namespace
}  // namespace korvane
