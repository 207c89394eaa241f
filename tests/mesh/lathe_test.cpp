#include <gtest/gtest.h>

#include <cstring>

#include "geometry/matrix4.h"
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

void ExpectNear(const Vec3& p, float x, float y, float z) {
    EXPECT_NEAR(p.x, x, 1e-5f);
    EXPECT_NEAR(p.y, y, 1e-5f);
    EXPECT_NEAR(p.z, z, 1e-5f);
}

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// One line (0, 1) with the lathe switched on.
void LineProfile(PolyMesh& mesh, Vec3 a, Vec3 b, std::int32_t axis, std::int32_t segments) {
    SetPositions(mesh, {a, b});
    AddLine(mesh, 0, 1);
    mesh.lathe = true;
    mesh.latheAxis = AxisNumbered(axis);
    mesh.latheSegments = segments;
}

TEST(LatheTest, OneLineFourSegmentsAroundY) {
    PolyMesh source;
    LineProfile(source, {1, 0, 0}, {1, 1, 0}, 1, 4);
    PolyMesh target;
    Lathe(source, target);

    ASSERT_EQ(target.vertexCount(), 8);  // 2 + 2 x 3
    // copy m of profile vertex u is 2 + 3u + (m - 1): copies of 0 are 2, 3, 4; of 1 are 5, 6, 7.
    EXPECT_EQ(Edges(target), (std::vector<EdgePair>{{0, 1},  // the source's edge
                                                    {0, 2},
                                                    {2, 3},
                                                    {3, 4},
                                                    {4, 0},  // ring of vertex 0
                                                    {1, 5},
                                                    {5, 6},
                                                    {6, 7},
                                                    {7, 1},  // ring of vertex 1
                                                    {2, 5},
                                                    {3, 6},
                                                    {4, 7}}));  // profile copies
    EXPECT_EQ(Faces(target.quads),
              (std::vector<Corners>{{0, 1, 5, 2}, {2, 5, 6, 3}, {3, 6, 7, 4}, {4, 7, 1, 0}}));
    EXPECT_TRUE(target.lines.empty());
    EXPECT_TRUE(target.triangles.empty());
    EXPECT_TRUE(target.edgesValid);
    EXPECT_TRUE(source.edgesValid);      // built on the source
    EXPECT_EQ(source.lines.count(), 1);  // otherwise unchanged
    EXPECT_EQ(source.vertexCount(), 2);

    ExpectNear(target.positions[0], 1, 0, 0);
    ExpectNear(target.positions[2], 0, 0, -1);  // 90 degrees around Y
    ExpectNear(target.positions[3], -1, 0, 0);
    ExpectNear(target.positions[4], 0, 0, 1);
    ExpectNear(target.positions[1], 1, 1, 0);
    ExpectNear(target.positions[6], -1, 1, 0);
    ExpectEdgesSound(target);
    ExpectFacesSound(target);
    EXPECT_EQ(UnorderedEdgeSet(target), RebuiltEdgeSet(target));
}

TEST(LatheTest, ProfileVertexIsMovedOntoTheStartPlaneAroundY) {
    PolyMesh source;
    LineProfile(source, {3, 5, 4}, {0, 9, 0}, 1, 4);
    PolyMesh target;
    Lathe(source, target);
    ExpectNear(target.positions[0], 5, 5, 0);
    ExpectNear(target.positions[2], 0, 5, -5);  // its copy at 90 degrees
    ExpectNear(target.positions[3], -5, 5, 0);
    EXPECT_EQ(source.positions[0].x, 3.0f);  // the source keeps its position
}

TEST(LatheTest, AroundX) {
    PolyMesh source;
    LineProfile(source, {2, 3, 4}, {7, 0, 1}, 0, 4);
    PolyMesh target;
    Lathe(source, target);
    ExpectNear(target.positions[0], 2, 5, 0);
    ExpectNear(target.positions[2], 2, 0, 5);  // (x, r cos, r sin)
    ExpectNear(target.positions[3], 2, -5, 0);
    ExpectNear(target.positions[1], 7, 1, 0);
    ExpectNear(target.positions[5], 7, 0, 1);
}

TEST(LatheTest, AroundZAndAnyOtherAxisValue) {
    for (std::int32_t axis : {2, 7, -1}) {
        PolyMesh source;
        LineProfile(source, {3, 4, 7}, {1, 0, 0}, axis, 4);
        PolyMesh target;
        Lathe(source, target);
        ExpectNear(target.positions[0], 5, 0, 7);
        ExpectNear(target.positions[2], 0, 5, 7);  // (r cos, r sin, z)
        ExpectNear(target.positions[4], 0, -5, 7);
    }
}

TEST(LatheTest, CopiesAreTheMatrixRotationBitForBit) {
    PolyMesh source;
    LineProfile(source, {1.25f, 0.5f, -2.0f}, {0.3f, 2.0f, 0.7f}, 1, 12);
    PolyMesh target;
    Lathe(source, target);
    ASSERT_EQ(target.vertexCount(), 2 + 2 * 11);
    const float step = 360.0f / 12.0f;
    for (std::int32_t u = 0; u < 2; ++u) {
        const Vec3 p = target.positions[u];
        for (std::int32_t m = 1; m < 12; ++m) {
            Matrix4 rotation;
            rotation.Identity();
            rotation.RotateY(static_cast<float>(m) * step);
            const Vec3 expected = TransformPoint(p, rotation);
            const Vec3& actual = target.positions[2 + u * 11 + m - 1];
            EXPECT_TRUE(SameBits(actual.x, expected.x) && SameBits(actual.y, expected.y) &&
                        SameBits(actual.z, expected.z))
                << "u " << u << " m " << m;
        }
    }
}

TEST(LatheTest, ProfileVerticesListedInOrderOfFirstUse) {
    // Lines (2, 1) and (1, 0): profile 2, 1, 0; vertex 3 is no profile vertex.
    PolyMesh source;
    SetPositions(source, {{1, 0, 0}, {1, 1, 0}, {1, 2, 0}, {5, 5, 5}});
    AddLine(source, 2, 1);
    AddLine(source, 1, 0);
    source.lathe = true;
    source.latheSegments = 3;
    PolyMesh target;
    Lathe(source, target);
    ASSERT_EQ(target.vertexCount(), 4 + 3 * 2);
    // copies: of 2 -> 4, 5; of 1 -> 6, 7; of 0 -> 8, 9
    ExpectNear(target.positions[4], -0.5f, 2, -0.8660254f);
    ExpectNear(target.positions[6], -0.5f, 1, -0.8660254f);
    ExpectNear(target.positions[8], -0.5f, 0, -0.8660254f);
    ExpectNear(target.positions[3], 5, 5, 5);  // not a profile vertex: untouched
    EXPECT_EQ(Edges(target), (std::vector<EdgePair>{{2, 1},
                                                    {1, 0},  // source edges
                                                    {2, 4},
                                                    {4, 5},
                                                    {5, 2},  // ring of 2
                                                    {1, 6},
                                                    {6, 7},
                                                    {7, 1},  // ring of 1
                                                    {0, 8},
                                                    {8, 9},
                                                    {9, 0},  // ring of 0
                                                    {4, 6},
                                                    {5, 7},  // copies of line (2, 1)
                                                    {6, 8},
                                                    {7, 9}}));  // copies of line (1, 0)
    EXPECT_EQ(
        Faces(target.quads),
        (std::vector<Corners>{
            {2, 1, 6, 4}, {4, 6, 7, 5}, {5, 7, 1, 2}, {1, 0, 8, 6}, {6, 8, 9, 7}, {7, 9, 0, 1}}));
    ExpectEdgesSound(target);
}

TEST(LatheTest, KeepsSourceTrianglesAndQuadsAheadOfTheSweep) {
    PolyMesh source;
    SetPositions(source, {{1, 0, 0}, {1, 1, 0}, {2, 0, 0}, {2, 1, 0}});
    AddTriangle(source, 0, 2, 3);
    AddQuad(source, 0, 2, 3, 1);
    AddLine(source, 0, 1);
    source.lathe = true;
    source.latheSegments = 4;
    PolyMesh target;
    Lathe(source, target);
    EXPECT_EQ(Faces(target.triangles), (std::vector<Corners>{{0, 2, 3}}));
    ASSERT_EQ(target.quads.count(), 1 + 4);
    EXPECT_EQ(Faces(target.quads)[0], (Corners{0, 2, 3, 1}));
    // Source edges first: line 0-1, then 0-2, 2-3, 3-0, then 3-1 from the quad.
    std::vector<EdgePair> edges = Edges(target);
    ASSERT_EQ(edges.size(), 5u + 2 * 4 + 3);
    EXPECT_EQ(std::vector<EdgePair>(edges.begin(), edges.begin() + 5),
              (std::vector<EdgePair>{{0, 1}, {0, 2}, {2, 3}, {3, 0}, {3, 1}}));
    ExpectEdgesSound(target);
}

TEST(LatheTest, ProfileVertexOnTheAxisGivesCoincidentUnmergedCopies) {
    PolyMesh source;
    LineProfile(source, {0, 0, 0}, {1, 0, 0}, 1, 6);
    PolyMesh target;
    Lathe(source, target);
    ASSERT_EQ(target.vertexCount(), 2 + 2 * 5);
    for (std::int32_t m = 1; m < 6; ++m) {
        ExpectNear(target.positions[2 + m - 1], 0, 0, 0);
    }
    EXPECT_EQ(target.quads.count(), 6);
    EXPECT_EQ(target.edges.count(), 1 + 2 * 6 + 5);
    ExpectEdgesSound(target);
}

TEST(LatheTest, WithoutLinesOrWithLatheOffIsACopy) {
    PolyMesh source;
    SetPositions(source, {{1, 0, 0}, {1, 1, 0}, {2, 0, 0}, {2, 1, 0}});
    AddTriangle(source, 0, 2, 3);
    AddQuad(source, 0, 2, 3, 1);
    source.lathe = true;
    PolyMesh target;
    Lathe(source, target);
    EXPECT_EQ(target.vertexCount(), 4);
    EXPECT_EQ(Faces(target.triangles), Faces(source.triangles));
    EXPECT_EQ(Faces(target.quads), Faces(source.quads));
    EXPECT_EQ(Edges(target), Edges(source));
    EXPECT_TRUE(target.faceListsValid);

    AddLine(source, 0, 1);
    source.lathe = false;
    source.edgesValid = false;
    Lathe(source, target);
    EXPECT_EQ(target.vertexCount(), 4);
    EXPECT_EQ(Faces(target.lines), (std::vector<Corners>{{0, 1}}));
}

TEST(LatheTest, FewerThanThreeSegmentsCountAsThree) {
    for (std::int32_t segments : {2, 1, 0, -4, -2147483647 - 1}) {
        PolyMesh source;
        LineProfile(source, {1, 0, 0}, {1, 1, 0}, 1, segments);
        PolyMesh target;
        Lathe(source, target);
        EXPECT_EQ(target.vertexCount(), 2 + 2 * 2) << segments;
        EXPECT_EQ(target.quads.count(), 3) << segments;
        EXPECT_EQ(target.edges.count(), 1 + 2 * 3 + 2) << segments;
        ExpectEdgesSound(target);
        ExpectNear(target.positions[2], -0.5f, 0, -0.8660254f);
    }
}

TEST(LatheTest, HugeSegmentCountLeavesAPlainCopy) {
    for (std::int32_t segments : {2147483647, 1 << 27, (1 << 23) + 1}) {
        PolyMesh source;
        LineProfile(source, {3, 0, 4}, {1, 1, 0}, 1, segments);
        PolyMesh target;
        Lathe(source, target);
        ASSERT_EQ(target.vertexCount(), 2) << segments;
        EXPECT_EQ(target.positions[0].x, 3.0f);  // not even moved onto the start plane
        EXPECT_EQ(target.positions[0].z, 4.0f);
        EXPECT_EQ(Faces(target.lines), (std::vector<Corners>{{0, 1}}));
        EXPECT_EQ(Edges(target), (std::vector<EdgePair>{{0, 1}}));
        EXPECT_TRUE(target.quads.empty());
    }
}

TEST(LatheTest, LargeButAllowedSegmentCountStillSweeps) {
    PolyMesh source;
    LineProfile(source, {1, 0, 0}, {1, 1, 0}, 1, 100000);
    PolyMesh target;
    Lathe(source, target);
    EXPECT_EQ(target.vertexCount(), 2 + 2 * 99999);
    EXPECT_EQ(target.quads.count(), 100000);
    EXPECT_EQ(target.edges.count(), 1 + 2 * 100000 + 99999);
    ExpectEdgesSound(target);
}

// Every line is swept, so a line given twice (in either order) is swept twice: its profile
// copies appear twice as edges and its quads twice. Kept so: safe, only redundant.
TEST(LatheTest, RepeatedLineIsSweptTwice) {
    PolyMesh source;
    LineProfile(source, {1, 0, 0}, {1, 1, 0}, 1, 3);
    AddLine(source, 1, 0);
    PolyMesh target;
    Lathe(source, target);
    EXPECT_EQ(target.vertexCount(), 2 + 2 * 2);  // two profile vertices, as before
    EXPECT_EQ(
        Faces(target.quads),
        (std::vector<Corners>{
            {0, 1, 4, 2}, {2, 4, 5, 3}, {3, 5, 1, 0}, {1, 0, 2, 4}, {4, 2, 3, 5}, {5, 3, 0, 1}}));
    // Source edge 0-1 once (BuildEdges), two rings of 3, then the copies 2-4, 3-5 and again 4-2,
    // 5-3.
    EXPECT_EQ(Edges(target), (std::vector<EdgePair>{{0, 1},
                                                    {0, 2},
                                                    {2, 3},
                                                    {3, 0},
                                                    {1, 4},
                                                    {4, 5},
                                                    {5, 1},
                                                    {2, 4},
                                                    {3, 5},
                                                    {4, 2},
                                                    {5, 3}}));
}

TEST(LatheTest, ReplacesWhatTheTargetHeld) {
    PolyMesh source;
    LineProfile(source, {1, 0, 0}, {1, 1, 0}, 1, 4);
    PolyMesh target;
    SetPositions(target, {{9, 9, 9}, {8, 8, 8}, {7, 7, 7}});
    AddTriangle(target, 0, 1, 2);
    AddLine(target, 0, 1);
    target.faceListsValid = true;
    Lathe(source, target);
    EXPECT_EQ(target.vertexCount(), 8);
    EXPECT_TRUE(target.triangles.empty());
    EXPECT_TRUE(target.lines.empty());
    EXPECT_FALSE(target.faceListsValid);
}

}  // namespace
}  // namespace korvane
