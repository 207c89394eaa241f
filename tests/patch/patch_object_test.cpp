#include <gtest/gtest.h>

#include "patch/patch_invariants.h"
#include "patch/patch_network_access.h"
#include "patch/patch_object.h"
#include "support/network_builder.h"

namespace korvane {
namespace {

using testing::NetworkBuilder;

TEST(PatchObjectTest, NewObjectHasDefaults) {
    PatchObject object;
    EXPECT_EQ(object.name, "");
    EXPECT_EQ(object.colour, 0xFFFFFFu);
    EXPECT_FALSE(object.PatchesValid());
    EXPECT_EQ(object.PointCount(), 0);
    EXPECT_EQ(object.SplineCount(), 0);
    EXPECT_TRUE(object.Patches().empty());
    EXPECT_TRUE(CheckPatchInvariants(object).empty());

    const std::int32_t point = object.AddControlPoint(PatchVec3());
    EXPECT_TRUE(object.RefsOf(point).empty());
    const std::int32_t ends[] = {point, point};
    object.AddSpline(ends);
    const SplineNode& node = object.Nodes().front();
    EXPECT_FALSE(node.corner);
    EXPECT_EQ(node.tension, 0.3f);
    EXPECT_EQ(node.handleIn.x, 0.0f);
    EXPECT_FALSE(object.Closed(0));
}

TEST(PatchObjectTest, SplinesOwnConsecutiveNodesAndPointsReferenceThemInOrder) {
    PatchObject object;
    NetworkBuilder build(object);
    for (int i = 0; i < 6; ++i) {
        build.Point(static_cast<float>(i), 0, 0);
    }
    build.Curve({0, 1});
    build.Curve({0, 1, 2, 3, 4});
    build.Curve({3, 4, 5});
    EXPECT_EQ(object.SplineStarts(), (std::vector<std::int32_t>{0, 2, 7, 10}));
    EXPECT_EQ(object.SplineNodeCount(1), 5);
    EXPECT_EQ(testing::PointIndices(object, 2), (std::vector<int>{3, 4, 5}));
    // Point 4 holds the tail of spline 1 (node 6), then the middle of spline 2 (node 8).
    ASSERT_EQ(object.RefsOf(4).size(), 2u);
    EXPECT_EQ(object.RefsOf(4)[0].spline, 1);
    EXPECT_EQ(object.RefsOf(4)[0].node, 6);
    EXPECT_EQ(object.RefsOf(4)[1].spline, 2);
    EXPECT_EQ(object.RefsOf(4)[1].node, 8);
    EXPECT_TRUE(CheckPatchInvariants(object).empty());
}

TEST(PatchObjectTest, NeighboursWrapOnlyOnClosedSplines) {
    PatchObject object;
    NetworkBuilder build(object);
    for (int i = 0; i < 3; ++i) {
        build.Point(static_cast<float>(i), 0, 0);
    }
    build.Curve({0, 1, 2});
    build.Curve({0, 1, 2}, true);
    struct Case {
        std::int32_t spline, node, successor, predecessor;
    };
    const Case cases[] = {
        {0, 0, 1, -1}, {0, 1, 2, 0}, {0, 2, -1, 1},  // open: nothing past either end
        {1, 3, 4, 5},  {1, 4, 5, 3}, {1, 5, 3, 4},   // closed: the ends meet
    };
    for (const Case& c : cases) {
        EXPECT_EQ(object.Successor(c.spline, c.node), c.successor) << c.node;
        EXPECT_EQ(object.Predecessor(c.spline, c.node), c.predecessor) << c.node;
    }
}

TEST(PatchObjectTest, DeletePatchesClearsValidity) {
    PatchObject object;
    PatchNetworkAccess::SetPatchesValid(object, true);
    object.DeletePatches();
    EXPECT_FALSE(object.PatchesValid());
    PatchNetworkAccess::Patches(object).resize(2);
    PatchNetworkAccess::SetPatchesValid(object, true);
    object.DeletePatches();
    EXPECT_TRUE(object.Patches().empty());
    EXPECT_FALSE(object.PatchesValid());
}

TEST(PatchInvariantsTest, ReportsBrokenNetworks) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(1, 0, 0);
    build.Curve({0, 1});
    EXPECT_TRUE(CheckPatchInvariants(object).empty());

    // A node referenced twice, and another not at all.
    PatchObject twice = object;
    PatchNetworkAccess::Refs(twice)[1].node = 0;
    EXPECT_FALSE(CheckPatchInvariants(twice).empty());
    // A reference to a spline that does not exist.
    PatchObject dangling = object;
    PatchNetworkAccess::Refs(dangling)[1].spline = 7;
    EXPECT_FALSE(CheckPatchInvariants(dangling).empty());
    // A node on a point that does not exist.
    PatchObject outside = object;
    PatchNetworkAccess::Nodes(outside)[1].controlPoint = 9;
    EXPECT_FALSE(CheckPatchInvariants(outside).empty());

    // A closed spline whose tail repeats its head.
    PatchObject loop = object;
    NetworkBuilder(loop).Curve({0, 1, 0}, true);
    EXPECT_EQ(CheckPatchInvariants(loop).size(), 1u);

    // A spline with one node.
    build.Curve({1});
    EXPECT_EQ(CheckPatchInvariants(object).size(), 1u);
}

}  // namespace
}  // namespace korvane
