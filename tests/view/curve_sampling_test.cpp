#include <gtest/gtest.h>

#include <cstdint>
#include <span>

#include "patch/patch_network_access.h"
#include "support/network_builder.h"
#include "view/curve_sampling.h"

namespace korvane {
namespace {

using testing::NetworkBuilder;

// Gives every node the handles a straight chord would have: a third of the way to each neighbour.
void ThirdHandles(PatchObject& object, std::int32_t spline) {
    const std::span<SplineNode> nodes = PatchNetworkAccess::SplineNodes(object, spline);
    const std::size_t n = nodes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const PatchVec3 here = object.PointOf(nodes[i]);
        const PatchVec3 next = object.PointOf(nodes[(i + 1) % n]);
        const PatchVec3 previous = object.PointOf(nodes[(i + n - 1) % n]);
        nodes[i].handleOut = Add(here, Scale(Subtract(next, here), 1.0f / 3.0f));
        nodes[i].handleIn = Add(here, Scale(Subtract(previous, here), 1.0f / 3.0f));
    }
}

TEST(CurveSamplingTest, WeightsAreCubicBernsteinAtEvenSteps) {
    const CurveWeightTable table = MakeCurveWeightTable(2);
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table[0], (std::array<float, 4>{1, 0, 0, 0}));
    EXPECT_EQ(table[2], (std::array<float, 4>{0.125f, 0.375f, 0.375f, 0.125f}));
    EXPECT_EQ(table[4], (std::array<float, 4>{0, 0, 0, 1}));
    for (const auto& row : table) {
        EXPECT_NEAR(row[0] + row[1] + row[2] + row[3], 1.0f, 1e-6f);
    }
    EXPECT_EQ(MakeCurveWeightTable(0).size(), 3u) << "resolution below 1 counts as 1";
}

TEST(CurveSamplingTest, ResolutionOneGivesStartMiddleEnd) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(3, 0, 0);
    build.Curve({0, 1});
    PatchNetworkAccess::SplineNodes(object, 0).front().handleOut.Set(1, 0, 0);
    PatchNetworkAccess::SplineNodes(object, 0).back().handleIn.Set(2, 0, 0);

    std::vector<Vec3> vertices;
    SampleSpline(object, 0, MakeCurveWeightTable(1), vertices);
    ASSERT_EQ(vertices.size(), 3u);
    EXPECT_EQ(vertices[0].x, 0.0f);
    EXPECT_EQ(vertices[1].x, 1.5f);
    EXPECT_EQ(vertices[2].x, 3.0f);
    EXPECT_EQ(vertices[1].y, 0.0f);
}

TEST(CurveSamplingTest, OpenAndClosedSplinesCountTheirSegments) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(4, 0, 0);
    build.Point(4, 4, 0);
    build.Point(0, 4, 1);
    const std::int32_t open = build.Curve({0, 1, 2, 3});
    const std::int32_t closed = build.Curve({0, 1, 2}, true);
    ThirdHandles(object, open);
    ThirdHandles(object, closed);
    const CurveWeightTable fine = MakeCurveWeightTable(10);

    std::vector<Vec3> vertices;
    SampleSpline(object, open, fine, vertices);
    EXPECT_EQ(vertices.size(), 3u * 21u);

    vertices.clear();
    SampleSpline(object, closed, fine, vertices);
    ASSERT_EQ(vertices.size(), 3u * 21u);
    // The third segment runs from the third node back to the first.
    EXPECT_EQ(vertices[42].x, 4.0f);
    EXPECT_EQ(vertices[42].y, 4.0f);
    EXPECT_EQ(vertices.back().x, 0.0f);
    EXPECT_EQ(vertices.back().y, 0.0f);
}

TEST(CurveSamplingTest, SingleOpenNodeGivesAnEmptyStrip) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(1, 1, 1);
    build.Curve({0});
    std::vector<Vec3> vertices;
    SampleSpline(object, 0, MakeCurveWeightTable(1), vertices);
    EXPECT_TRUE(vertices.empty());
}

}  // namespace
}  // namespace korvane
