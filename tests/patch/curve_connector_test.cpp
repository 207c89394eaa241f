#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "geometry/angles.h"
#include "patch/curve_connector.h"
#include "patch/patch_invariants.h"
#include "support/network_builder.h"

namespace korvane {
namespace {

using testing::NetworkBuilder;
using testing::PointIndices;

// Runs ConnectCurves and checks the invariants at every progress text, which comes at the start
// of every pass and so right after every join.
std::vector<std::string> Connect(PatchObject& object, float limit) {
    std::vector<std::string> texts;
    CurveConnector connector;
    connector.ConnectCurves(object, limit, [&](const std::string& text) {
        texts.push_back(text);
        const auto problems = CheckPatchInvariants(object);
        EXPECT_TRUE(problems.empty()) << problems.front();
    });
    const auto problems = CheckPatchInvariants(object);
    EXPECT_TRUE(problems.empty()) << problems.front();
    return texts;
}

int NodeCount(const PatchObject& object) {
    int n = 0;
    for (const Spline* spline : object.splines) {
        n += spline->nodes.GetCount();
    }
    return n;
}

TEST(ConnectCurvesTest, StraightChainBecomesOneSpline) {
    PatchObject object;
    object.name = "Line";
    NetworkBuilder build(object);
    for (int i = 0; i < 4; ++i) {
        build.Point(static_cast<float>(i), 0, 0);
    }
    build.Curve({0, 1});
    build.Curve({1, 2});
    build.Curve({2, 3});
    Connect(object, 150.0f);
    ASSERT_EQ(object.splines.GetCount(), 1);
    const Spline* spline = object.splines.GetHead();
    EXPECT_EQ(spline->closed, 0);
    const auto order = PointIndices(*spline, object);
    const bool forwardOrder = order == std::vector<int>{0, 1, 2, 3};
    const bool reverseOrder = order == std::vector<int>{3, 2, 1, 0};
    EXPECT_TRUE(forwardOrder || reverseOrder);
}

TEST(ConnectCurvesTest, JoinKeepsSurvivorNodesAndContinuesThroughTheSharedPoint) {
    // At point 1 the first reference is spline 0's tail (head1 = 0), the second spline 1's head
    // (head2 = 1): spline 0 is walked from its tail and its nodes go to the head of spline 1.
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(1, 0, 0);
    build.Point(2, 0, 0);
    build.Point(-1, 0, 0);
    build.Curve({3, 0, 1});
    Spline* second = build.Curve({1, 2});
    CurveConnector().ConnectCurves(object, 150.0f, nullptr);
    ASSERT_EQ(object.splines.GetCount(), 1);
    EXPECT_EQ(object.splines.GetHead(), second);
    EXPECT_EQ(PointIndices(*second, object), (std::vector<int>{3, 0, 1, 2}));
    EXPECT_TRUE(CheckPatchInvariants(object).empty());
}

TEST(ConnectCurvesTest, AllFourEndCombinationsMergeInCurveOrder) {
    // P = point 0; S1 runs P,u,v or v,u,P; S2 runs P,x,y or y,x,P.
    struct Case {
        std::initializer_list<int> s1;
        std::initializer_list<int> s2;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {{0, 1, 2}, {0, 3, 4}, {2, 1, 0, 3, 4}},
        {{0, 1, 2}, {4, 3, 0}, {4, 3, 0, 1, 2}},
        {{2, 1, 0}, {0, 3, 4}, {2, 1, 0, 3, 4}},
        {{2, 1, 0}, {4, 3, 0}, {4, 3, 0, 1, 2}},
    };
    for (const Case& c : cases) {
        PatchObject object;
        NetworkBuilder build(object);
        build.Point(0, 0, 0);
        build.Point(-1, 0, 0);
        build.Point(-2, 0, 0);
        build.Point(1, 0, 0);
        build.Point(2, 0, 0);
        build.Curve(c.s1);
        Spline* s2 = build.Curve(c.s2);
        Connect(object, 150.0f);
        ASSERT_EQ(object.splines.GetCount(), 1);
        EXPECT_EQ(object.splines.GetHead(), s2);
        EXPECT_EQ(PointIndices(*s2, object), c.expected);
        for (const SplineNode* node : s2->nodes) {
            if (node->controlPoint == build.point(0)) {
                EXPECT_EQ(node->controlPoint->splineRefs.GetCount(), 1);
            }
        }
    }
}

TEST(ConnectCurvesTest, SquareLoopClosesAbove90AndStaysBelow) {
    for (const float limit : {80.0f, 100.0f}) {
        PatchObject object;
        NetworkBuilder build(object);
        build.Point(0, 0, 0);
        build.Point(1, 0, 0);
        build.Point(1, 1, 0);
        build.Point(0, 1, 0);
        build.Curve({0, 1});
        build.Curve({1, 2});
        build.Curve({2, 3});
        build.Curve({3, 0});
        Connect(object, limit);
        if (limit < 90.0f) {
            ASSERT_EQ(object.splines.GetCount(), 1);
            const Spline* loop = object.splines.GetHead();
            EXPECT_EQ(loop->closed, 1);
            EXPECT_EQ(loop->nodes.GetCount(), 4);
            for (const ControlPoint* point : object.controlPoints) {
                EXPECT_EQ(point->splineRefs.GetCount(), 1);
            }
        } else {
            EXPECT_EQ(object.splines.GetCount(), 4);
            EXPECT_EQ(NodeCount(object), 8);
        }
    }
}

TEST(ConnectCurvesTest, ThreeEndsAtOnePointJoinOnlyTheWidestPair) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);      // P
    build.Point(-1, 0.1f, 0);  // almost straight through P with point 2
    build.Point(1, 0, 0);
    build.Point(0.9f, 0.6f, 0);  // a third arm at about 150 degrees from point 1's arm
    build.Curve({0, 1});
    build.Curve({0, 3});
    build.Curve({0, 2});
    Connect(object, 120.0f);
    ASSERT_EQ(object.splines.GetCount(), 2);
    std::vector<std::vector<int>> orders;
    for (const Spline* spline : object.splines) {
        orders.push_back(PointIndices(*spline, object));
    }
    EXPECT_EQ(orders[0], (std::vector<int>{0, 3}));
    EXPECT_EQ(orders[1], (std::vector<int>{1, 0, 2}));
}

TEST(ConnectCurvesTest, InteriorNodesAreNeverCandidates) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(-1, 0, 0);
    build.Point(1, 0, 0);
    build.Point(0, -1, 0);
    build.Point(0, 1, 0);
    build.Curve({1, 0, 2});  // passes straight through point 0
    build.Curve({3, 0});
    build.Curve({4, 0});
    Connect(object, 150.0f);
    ASSERT_EQ(object.splines.GetCount(), 2);
    EXPECT_EQ(PointIndices(*object.splines.GetHead(), object), (std::vector<int>{1, 0, 2}));
    const auto joined = PointIndices(*object.splines.GetTail(), object);
    EXPECT_EQ(joined.size(), 3u);
    EXPECT_EQ(joined[1], 0);
}

TEST(ConnectCurvesTest, ZeroLengthArmsAreNeverJoined) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(0, 0, 0);  // on top of P
    build.Point(1, 0, 0);
    build.Curve({0, 1});
    build.Curve({0, 2});
    Connect(object, 0.0f);
    EXPECT_EQ(object.splines.GetCount(), 2);
}

TEST(ConnectCurvesTest, LimitsOf180AndZero) {
    for (const float limit : {180.0f, 0.0f}) {
        PatchObject object;
        NetworkBuilder build(object);
        build.Point(0, 0, 0);
        build.Point(-1, 0, 0);
        build.Point(1, 0, 0);
        build.Point(1, 1, 0);
        build.Curve({1, 0});
        build.Curve({0, 2});
        build.Curve({0, 3});
        Connect(object, limit);
        // Nothing exceeds pi; above zero every pair is joinable, the widest first.
        EXPECT_EQ(object.splines.GetCount(), limit == 180.0f ? 3 : 2);
    }
}

TEST(ConnectCurvesTest, EqualAnglesGoToTheFirstPairInReferenceOrder) {
    // Four arms in a plus: pairs (0,2) and (1,3) are both straight; (0,2) is found first.
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(1, 0, 0);
    build.Point(0, 1, 0);
    build.Point(-1, 0, 0);
    build.Point(0, -1, 0);
    build.Curve({0, 1});
    build.Curve({0, 2});
    Spline* west = build.Curve({0, 3});
    build.Curve({0, 4});
    Connect(object, 170.0f);
    ASSERT_EQ(object.splines.GetCount(), 2);
    // The first pair joins east into west (west survives), then north and south.
    EXPECT_EQ(object.splines.GetHead()->nodes.GetCount(), 3);
    EXPECT_EQ(object.splines.GetHead(), west);
    EXPECT_EQ(PointIndices(*west, object), (std::vector<int>{1, 0, 3}));
}

TEST(ConnectCurvesTest, ProgressTextsCountTheExaminedPointAndRepeatItAfterAJoin) {
    PatchObject object;
    object.name = "Box";
    NetworkBuilder build(object);
    for (int i = 0; i < 8; ++i) {
        build.Point(static_cast<float>(i), 0, 0);
    }
    build.Curve({3, 4});
    build.Curve({4, 5});
    const auto texts = Connect(object, 150.0f);
    // Points 0..4 are examined, the join happens at 4, then 4 is examined again and the run
    // goes on to the last point.
    std::vector<std::string> expected;
    for (const int i : {0, 1, 2, 3, 4, 4, 5, 6, 7}) {
        expected.push_back("Box " + std::to_string(i) + " / 8");
    }
    EXPECT_EQ(texts, expected);
}

TEST(ConnectCurvesTest, EmptyObjectGivesNoProgress) {
    PatchObject object;
    object.name = "Empty";
    EXPECT_TRUE(Connect(object, 150.0f).empty());
}

// Brute force: after a run no control point may hold a joinable pair of open ends.
bool HasJoinablePair(const PatchObject& object, float limitDegrees) {
    const float limit = DegreesToRadians(limitDegrees);
    for (const ControlPoint* point : object.controlPoints) {
        std::vector<PatchVec3> arms;
        for (const SplineRef* ref : point->splineRefs) {
            const Spline& s = *ref->spline;
            if (s.closed != 0) {
                continue;
            }
            const auto& nodes = s.nodes;
            if (ref->node == nodes.GetHead()) {
                auto position = nodes.GetHeadPosition();
                nodes.GetNext(position);
                arms.push_back(Subtract(*nodes.GetAt(position)->controlPoint, *point));
            } else if (ref->node == nodes.GetTail()) {
                auto position = nodes.GetTailPosition();
                nodes.GetPrev(position);
                arms.push_back(Subtract(*nodes.GetAt(position)->controlPoint, *point));
            }
        }
        for (std::size_t i = 0; i < arms.size(); ++i) {
            for (std::size_t j = i + 1; j < arms.size(); ++j) {
                if (AngleBetween(arms[i], arms[j]) > limit) {
                    return true;
                }
            }
        }
    }
    return false;
}

TEST(ConnectCurvesTest, RandomNetworksKeepInvariantsAndLeaveNothingJoinable) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 300; ++round) {
        PatchObject object;
        NetworkBuilder build(object);
        const int pointCount = 2 + static_cast<int>(random() % 12);
        // A small integer grid gives coincident points, straight lines and exact ties.
        for (int i = 0; i < pointCount; ++i) {
            build.Point(static_cast<float>(random() % 4), static_cast<float>(random() % 4),
                        static_cast<float>(random() % 2));
        }
        const int splineCount = 1 + static_cast<int>(random() % 20);
        for (int i = 0; i < splineCount; ++i) {
            build.Curve(
                {static_cast<int>(random() % pointCount), static_cast<int>(random() % pointCount)});
        }
        const float limit = static_cast<float>(random() % 181);
        const int nodesBefore = NodeCount(object);
        const int splinesBefore = object.splines.GetCount();
        const auto texts = Connect(object, limit);
        int closed = 0;
        for (const Spline* spline : object.splines) {
            closed += spline->closed;
        }
        // Each merge removes one spline and one node; each closing removes one node.
        const int merges = splinesBefore - object.splines.GetCount();
        EXPECT_EQ(NodeCount(object), nodesBefore - merges - closed) << "round " << round;
        EXPECT_FALSE(HasJoinablePair(object, limit)) << "round " << round;
        EXPECT_GE(static_cast<int>(texts.size()), pointCount);
    }
}

}  // namespace
}  // namespace korvane
