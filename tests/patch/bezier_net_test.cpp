#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "patch/bezier_net.h"
#include "patch/patch_builder.h"
#include "patch/patch_network_access.h"

namespace korvane {
namespace {

// Sets the handles of every two-node spline at the thirds of its straight segment, so that the
// boundary curves are the straight sides travelled at even speed.
void HandlesAtThirds(PatchObject& object) {
    for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
        SplineNode& first = PatchNetworkAccess::SplineNodes(object, spline).front();
        SplineNode& second = PatchNetworkAccess::SplineNodes(object, spline).back();
        const PatchVec3 step =
            Divide(Subtract(object.PointOf(second), object.PointOf(first)), 3.0f);
        first.handleOut = Add(object.PointOf(first), step);
        second.handleIn = Subtract(object.PointOf(second), step);
    }
}

// A network of the given points and two-node splines between them, every node referred to.
void BuildNetwork(PatchObject& object, const std::vector<PatchVec3>& points,
                  const std::vector<std::array<std::int32_t, 2>>& splines) {
    for (const PatchVec3& point : points) {
        object.AddControlPoint(point);
    }
    for (const std::array<std::int32_t, 2>& ends : splines) {
        object.AddSpline(ends);
    }
    object.IndexReferences();
}

const Patch& OnlyPatch(PatchObject& object) {
    DetectPatches(object);
    EXPECT_EQ(object.Patches().size(), 1u);
    return object.Patches().at(0);
}

// One patch over the loop of two-node splines through the given points, in order.
const Patch& LoopPatch(PatchObject& object, const std::vector<PatchVec3>& corners,
                       const std::vector<bool>& reversed) {
    std::vector<std::array<std::int32_t, 2>> splines;
    const auto n = static_cast<std::int32_t>(corners.size());
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t next = (i + 1) % n;
        splines.push_back(reversed[static_cast<std::size_t>(i)] ? std::array{next, i}
                                                                : std::array{i, next});
    }
    BuildNetwork(object, corners, splines);
    HandlesAtThirds(object);
    return OnlyPatch(object);
}

void ExpectPoint(const PatchVec3& actual, float x, float y, float z) {
    EXPECT_EQ(actual.x, x);
    EXPECT_EQ(actual.y, y);
    EXPECT_EQ(actual.z, z);
}

void ExpectSame(const PatchVec3& a, const PatchVec3& b) {
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
}

const std::vector<PatchVec3> kSquare = {{0, 0, 0}, {3, 0, 0}, {3, 3, 0}, {0, 3, 0}};

TEST(QuadNetTest, FlatSquareGivesTheUnitGrid) {
    // The same square with every other side's spline running against the loop.
    for (const auto& reversed : {std::vector<bool>{false, false, false, false},
                                 std::vector<bool>{false, true, false, true},
                                 std::vector<bool>{false, true, true, true}}) {
        PatchObject object;
        const Patch& patch = LoopPatch(object, kSquare, reversed);
        BezierNet net;
        QuadNet(object, patch, net);
        for (int v = 0; v < 4; ++v) {
            for (int u = 0; u < 4; ++u) {
                const std::size_t offset = static_cast<std::size_t>(3 * u + 12 * v);
                EXPECT_EQ(net.values[offset], static_cast<float>(u)) << u << "," << v;
                EXPECT_EQ(net.values[offset + 1], static_cast<float>(v)) << u << "," << v;
                EXPECT_EQ(net.values[offset + 2], 0.0f) << u << "," << v;
            }
        }
    }
}

TEST(QuadNetTest, InnerPointsCompleteTheParallelogramOfTheirCorner) {
    PatchObject object;
    const Patch& patch = LoopPatch(object, {{0, 0, 0}, {3, 0, 0}, {3, 3, 3}, {0, 3, 0}},
                                   {false, false, false, false});
    BezierNet net;
    QuadNet(object, patch, net);

    ExpectPoint(net.Point(1, 1), 1, 1, 0);
    ExpectPoint(net.Point(2, 1), 2, 1, 1);
    ExpectPoint(net.Point(1, 2), 1, 2, 1);
    ExpectPoint(net.Point(2, 2), 2, 2, 1);
    ExpectPoint(net.Point(3, 3), 3, 3, 3);
    ExpectPoint(net.Point(3, 1), 3, 1, 1);
}

class TriangleNetsTest : public ::testing::Test {
  protected:
    // A bent triangle with smooth handles, so that no two nets are alike by symmetry.
    const Patch& BentTriangle() {
        BuildNetwork(object_, {{0, 0, 0}, {5, 1, 2}, {1, 4, -1}}, {{0, 1}, {2, 1}, {2, 0}});
        ComputeHandles(object_);
        return OnlyPatch(object_);
    }

    PatchObject object_;
    std::array<BezierNet, 3> nets_;
};

TEST_F(TriangleNetsTest, NeighbouringNetsShareTheirBorderAndCentre) {
    const Patch& patch = BentTriangle();
    TriangleNets(object_, patch, nets_);
    for (int k = 0; k < 3; ++k) {
        const BezierNet& net = nets_[static_cast<std::size_t>(k)];
        const BezierNet& next = nets_[static_cast<std::size_t>((k + 1) % 3)];
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(::testing::Message() << "net " << k << " point " << i);
            ExpectSame(net.Point(3, i), next.Point(i, 3));
        }
        ExpectSame(net.Point(3, 3), nets_[0].Point(3, 3));
    }
}

TEST_F(TriangleNetsTest, EachNetStartsAtItsCorner) {
    const Patch& patch = BentTriangle();
    TriangleNets(object_, patch, nets_);
    for (std::size_t k = 0; k < 3; ++k) {
        ExpectSame(nets_[k].Point(0, 0),
                   object_.PointOf(object_.Nodes()[static_cast<std::size_t>(patch.edgeStart[k])]));
    }
    ExpectPoint(nets_[0].Point(0, 0), 0, 0, 0);
}

TEST(TriangleNetsStraightTest, StraightSidesAreSplitEvenly) {
    // Straight sides with handles at thirds: every border row of a net runs in even steps along
    // a side, from the corner to the side's midpoint.
    PatchObject object;
    const Patch& patch = LoopPatch(object, {{0, 0, 0}, {6, 0, 0}, {0, 6, 0}}, {false, true, false});
    std::array<BezierNet, 3> nets;
    TriangleNets(object, patch, nets);

    for (int i = 0; i < 4; ++i) {
        const float f = static_cast<float>(i);
        ExpectPoint(nets[0].Point(i, 0), f, 0, 0);      // P0 towards the middle of side 0
        ExpectPoint(nets[0].Point(0, i), 0, f, 0);      // P0 towards the middle of side 2
        ExpectPoint(nets[1].Point(i, 0), 6 - f, f, 0);  // P1 along side 1
        ExpectPoint(nets[2].Point(i, 0), 0, 6 - f, 0);  // P2 along side 2
    }
    // The midpoint of side 0 closes the first row of net 0 and the last row of net 1.
    ExpectPoint(nets[0].Point(3, 0), 3, 0, 0);
    ExpectPoint(nets[1].Point(0, 3), 3, 0, 0);
}

TEST(TriangleNetsStraightTest, SymmetricTriangleGivesSymmetricNetsAroundTheCentroid) {
    // The triangle is its own mirror image across x = y, which maps the region of P0 onto
    // itself with u and v exchanged.
    PatchObject object;
    const Patch& patch = LoopPatch(object, {{0, 0, 0}, {6, 0, 0}, {0, 6, 0}}, {false, false, true});
    std::array<BezierNet, 3> nets;
    TriangleNets(object, patch, nets);

    ExpectPoint(nets[0].Point(3, 3), 2, 2, 0);
    for (int v = 0; v < 4; ++v) {
        for (int u = 0; u < 4; ++u) {
            SCOPED_TRACE(::testing::Message() << u << "," << v);
            EXPECT_EQ(nets[0].Point(u, v).x, nets[0].Point(v, u).y);
            EXPECT_EQ(nets[1].Point(u, v).x, nets[2].Point(v, u).y);
            EXPECT_EQ(nets[1].Point(u, v).y, nets[2].Point(v, u).x);
        }
    }
}

}  // namespace
}  // namespace korvane
