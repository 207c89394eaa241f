#include <gtest/gtest.h>

#include <cmath>

#include "patch/patch_builder.h"
#include "patch/patch_network_access.h"
#include "support/network_builder.h"

namespace korvane {
namespace {

using testing::NetworkBuilder;

// The node at place `place` of `spline`, head first.
SplineNode& NodeAt(PatchObject& object, std::int32_t spline, std::int32_t place) {
    return PatchNetworkAccess::SplineNodes(object, spline)[static_cast<std::size_t>(place)];
}

void ExpectExactly(const PatchVec3& actual, float x, float y, float z) {
    EXPECT_EQ(actual.x, x);
    EXPECT_EQ(actual.y, y);
    EXPECT_EQ(actual.z, z);
}

bool IsFinite(const PatchVec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

TEST(ComputeHandlesTest, TwoNodeSplineHandlesLieAtThreeTenths) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(1, 0, 0);
    const std::int32_t spline = build.Curve({0, 1});
    ComputeHandles(object);

    ExpectExactly(NodeAt(object, spline, 0).handleOut, 0.3f, 0.0f, 0.0f);
    ExpectExactly(NodeAt(object, spline, 1).handleIn, 0.7f, 0.0f, 0.0f);
}

TEST(ComputeHandlesTest, InteriorNodeHandlesFollowTheChord) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(1, 0, 0);
    build.Point(2, 0, 0);
    const std::int32_t spline = build.Curve({0, 1, 2});
    ComputeHandles(object);

    const SplineNode& middle = NodeAt(object, spline, 1);
    ExpectExactly(middle.handleIn, 0.7f, 0.0f, 0.0f);
    ExpectExactly(middle.handleOut, 1.3f, 0.0f, 0.0f);
    // The ends of an open spline point straight at their neighbour.
    ExpectExactly(NodeAt(object, spline, 0).handleOut, 0.3f, 0.0f, 0.0f);
    ExpectExactly(NodeAt(object, spline, 2).handleIn, 1.7f, 0.0f, 0.0f);
}

TEST(ComputeHandlesTest, ArithmeticRunsInTheWrittenOrder) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(7, 0, 0);
    build.Point(9, 0, 0);
    const std::int32_t spline = build.Curve({0, 1, 2});
    ComputeHandles(object);

    // In the written order the handle lands on 4.9f; dividing by the chord length before
    // multiplying by the distance lands one step below it.
    ExpectExactly(NodeAt(object, spline, 1).handleIn, 4.9f, 0.0f, 0.0f);
}

TEST(ComputeHandlesTest, UnevenNeighboursGiveHandlesParallelToTheChord) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(3, 4, 0);   // 5 from the first point
    build.Point(3, 14, 0);  // 10 from the second
    const std::int32_t spline = build.Curve({0, 1, 2});
    ComputeHandles(object);

    // chord (3, 14) has length sqrt(205); handles at 0.3 x 5 and 0.3 x 10 along it.
    const SplineNode& middle = NodeAt(object, spline, 1);
    const float chordLength = std::sqrt(205.0f);
    EXPECT_NEAR(middle.handleIn.x, 3.0f - 1.5f * 3.0f / chordLength, 1e-6f);
    EXPECT_NEAR(middle.handleIn.y, 4.0f - 1.5f * 14.0f / chordLength, 1e-6f);
    EXPECT_NEAR(middle.handleOut.x, 3.0f + 3.0f * 3.0f / chordLength, 1e-6f);
    EXPECT_NEAR(middle.handleOut.y, 4.0f + 3.0f * 14.0f / chordLength, 1e-6f);
}

TEST(ComputeHandlesTest, ClosedSplineWrapsRound) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(2, 0, 0);
    build.Point(2, 2, 0);
    build.Point(0, 2, 0);
    const std::int32_t spline = build.Curve({0, 1, 2, 3}, true);
    ComputeHandles(object);

    // At the head the neighbours are the tail (0, 2) and (2, 0): chord (2, -2), both arms 2.
    const SplineNode& head = NodeAt(object, spline, 0);
    const float step = 0.3f * 2.0f * 2.0f / std::sqrt(8.0f);
    EXPECT_NEAR(head.handleIn.x, -step, 1e-6f);
    EXPECT_NEAR(head.handleIn.y, step, 1e-6f);
    EXPECT_NEAR(head.handleOut.x, step, 1e-6f);
    EXPECT_NEAR(head.handleOut.y, -step, 1e-6f);
    const SplineNode& tail = NodeAt(object, spline, 3);
    EXPECT_NEAR(tail.handleOut.x, -step, 1e-6f);
    EXPECT_NEAR(tail.handleOut.y, 2.0f - step, 1e-6f);
}

TEST(ComputeHandlesTest, CornerNodesUseStraightFractions) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(1, 0, 0);
    build.Point(1, 2, 0);
    const std::int32_t spline = build.Curve({0, 1, 2});
    NodeAt(object, spline, 1).corner = true;
    NodeAt(object, spline, 1).tension = 0.5f;
    ComputeHandles(object);

    ExpectExactly(NodeAt(object, spline, 1).handleIn, 0.5f, 0.0f, 0.0f);
    ExpectExactly(NodeAt(object, spline, 1).handleOut, 1.0f, 1.0f, 0.0f);
}

TEST(ComputeHandlesTest, NodesOnOnePointNeverDivideByZero) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(1, 1, 1);
    build.Point(4, 1, 1);
    const std::int32_t onePoint = build.Curve({0, 0});
    const std::int32_t doubled = build.Curve({0, 0, 1});
    const std::int32_t closedBack = build.Curve({0, 1, 0}, true);
    ComputeHandles(object);

    for (const SplineNode& node : object.Nodes()) {
        EXPECT_TRUE(IsFinite(node.handleIn));
        EXPECT_TRUE(IsFinite(node.handleOut));
    }
    ExpectExactly(NodeAt(object, onePoint, 0).handleOut, 1.0f, 1.0f, 1.0f);
    ExpectExactly(NodeAt(object, onePoint, 1).handleIn, 1.0f, 1.0f, 1.0f);
    // Zero arm to the previous node: straight fraction towards it, i.e. the point itself.
    ExpectExactly(NodeAt(object, doubled, 1).handleIn, 1.0f, 1.0f, 1.0f);
    // Previous and next on one point: the chord is zero, both handles point straight back.
    const SplineNode& far = NodeAt(object, closedBack, 1);
    ExpectExactly(far.handleIn, 3.1f, 1.0f, 1.0f);
    ExpectExactly(far.handleOut, 3.1f, 1.0f, 1.0f);
}

TEST(ComputeHandlesTest, SplinesWithoutNodesAreLeftAlone) {
    PatchObject object;
    object.AddSpline({});
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(1, 0, 0);
    const std::int32_t spline = build.Curve({0, 1});
    ComputeHandles(object);
    EXPECT_EQ(object.SplineNodeCount(0), 0);
    ExpectExactly(NodeAt(object, spline, 0).handleOut, 0.3f, 0.0f, 0.0f);
    ExpectExactly(NodeAt(object, spline, 1).handleIn, 0.7f, 0.0f, 0.0f);
}

}  // namespace
}  // namespace korvane
