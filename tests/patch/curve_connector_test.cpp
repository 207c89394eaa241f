#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "geometry/angles.h"
#include "patch/curve_connector.h"
#include "patch/patch_invariants.h"
#include "patch/patch_network_access.h"
#include "support/network_builder.h"

namespace korvane {
namespace {

using testing::NetworkBuilder;
using testing::PointIndices;

void ExpectSound(const PatchObject& object) {
    const auto problems = CheckPatchInvariants(object);
    EXPECT_TRUE(problems.empty()) << problems.front();
}

// Runs ConnectCurves to the end, checks the network is sound and returns the points examined, in
// the order of the progress steps.
std::vector<std::int32_t> Connect(PatchObject& object, float limit) {
    std::vector<std::int32_t> examined;
    EXPECT_TRUE(
        ConnectCurves(object, limit, [&](std::int32_t point) { examined.push_back(point); }));
    ExpectSound(object);
    return examined;
}

std::vector<std::vector<int>> AllPointIndices(const PatchObject& object) {
    std::vector<std::vector<int>> out;
    for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
        out.push_back(PointIndices(object, spline));
    }
    return out;
}

// A reference as (spline, place of its node within that spline).
using PlacedRef = std::pair<int, int>;

std::vector<PlacedRef> PlacedRefs(const PatchObject& object, std::int32_t point) {
    std::vector<PlacedRef> out;
    for (const SplineRef& ref : object.RefsOf(point)) {
        out.emplace_back(ref.spline,
                         ref.node - object.SplineStarts()[static_cast<std::size_t>(ref.spline)]);
    }
    return out;
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
    ASSERT_EQ(object.SplineCount(), 1);
    EXPECT_FALSE(object.Closed(0));
    const auto order = PointIndices(object, 0);
    const bool forwardOrder = order == std::vector<int>{0, 1, 2, 3};
    const bool reverseOrder = order == std::vector<int>{3, 2, 1, 0};
    EXPECT_TRUE(forwardOrder || reverseOrder);
}

// The references every point must hold after `absorbed` is merged into `survivor` at one shared
// end, by the rule joins follow: every other reference keeps its place in its point's list (the
// survivor's nodes shifted along when it grows at its head), and each node the join makes is
// referenced last at its point, in the order the absorbed spline is walked from the shared end.
std::vector<std::vector<PlacedRef>> RefsAfterJoin(const PatchObject& before, int absorbed,
                                                  int survivor, bool absorbedFromHead,
                                                  bool survivorGrowsAtHead) {
    std::vector<int> walk = PointIndices(before, absorbed);
    if (!absorbedFromHead) {
        std::reverse(walk.begin(), walk.end());
    }
    const int made = static_cast<int>(walk.size()) - 1;
    const int survivorLength = before.SplineNodeCount(survivor);
    const auto renumber = [absorbed](int spline) {
        return spline > absorbed ? spline - 1 : spline;
    };
    std::vector<std::vector<PlacedRef>> expected(static_cast<std::size_t>(before.PointCount()));
    for (std::int32_t point = 0; point < before.PointCount(); ++point) {
        auto& refs = expected[static_cast<std::size_t>(point)];
        for (const auto& [spline, place] : PlacedRefs(before, point)) {
            if (spline != absorbed) {
                const int shift = spline == survivor && survivorGrowsAtHead ? made : 0;
                refs.emplace_back(renumber(spline), place + shift);
            }
        }
        for (int i = 1; i <= made; ++i) {
            if (walk[static_cast<std::size_t>(i)] == point) {
                refs.emplace_back(renumber(survivor),
                                  survivorGrowsAtHead ? made - i : survivorLength + i - 1);
            }
        }
    }
    return expected;
}

// Point 0 sits at the origin, points 1-5 run along -x and 6-9 along +x, so that the two splines
// under test meet straight at point 0. Closed witness splines made before and after them put
// references on both sides of theirs at every point; being closed, they never join.
TEST(ConnectCurvesTest, JoinsMakeNodesAnewAndReferenceThemLastInWalkingOrder) {
    struct Case {
        const char* name;
        std::vector<int> absorbed;  // made first, so its end comes first at point 0
        std::vector<int> survivor;
        std::vector<int> joined;  // the survivor's points afterwards
        int watched;              // a point whose references are spelled out
        std::vector<PlacedRef> watchedRefs;
    };
    // Afterwards the first witness is spline 0, the survivor 1 and the second witness 2.
    const Case cases[] = {
        {"long into short, heads",
         {0, 1, 2, 3, 4, 5},
         {0, 6, 7},
         {5, 4, 3, 2, 1, 0, 6, 7},
         1,
         {{0, 3}, {2, 1}, {1, 4}}},
        {"long into short, tail to head",
         {5, 4, 3, 2, 1, 0},
         {0, 6, 7},
         {5, 4, 3, 2, 1, 0, 6, 7},
         1,
         {{0, 3}, {2, 1}, {1, 4}}},
        {"long into short, head to tail",
         {0, 1, 2, 3, 4, 5},
         {7, 6, 0},
         {7, 6, 0, 1, 2, 3, 4, 5},
         1,
         {{0, 3}, {2, 1}, {1, 3}}},
        {"long into short, tails",
         {5, 4, 3, 2, 1, 0},
         {7, 6, 0},
         {7, 6, 0, 1, 2, 3, 4, 5},
         1,
         {{0, 3}, {2, 1}, {1, 3}}},
        {"short into long, heads",
         {0, 6, 7},
         {0, 1, 2, 3, 4, 5},
         {7, 6, 0, 1, 2, 3, 4, 5},
         6,
         {{0, 4}, {2, 6}, {1, 1}}},
        {"short into long, tail to head",
         {7, 6, 0},
         {0, 1, 2, 3, 4, 5},
         {7, 6, 0, 1, 2, 3, 4, 5},
         6,
         {{0, 4}, {2, 6}, {1, 1}}},
        {"short into long, head to tail",
         {0, 6, 7},
         {5, 4, 3, 2, 1, 0},
         {5, 4, 3, 2, 1, 0, 6, 7},
         6,
         {{0, 4}, {2, 6}, {1, 6}}},
        {"short into long, tails",
         {7, 6, 0},
         {5, 4, 3, 2, 1, 0},
         {5, 4, 3, 2, 1, 0, 6, 7},
         6,
         {{0, 4}, {2, 6}, {1, 6}}},
        // Passing twice through point 1: all its references there go at once, and the two new
        // nodes come back in walking order, whichever way that runs along the spline.
        {"twice through, longer, from head",
         {0, 1, 2, 1, 3},
         {0, 6},
         {3, 1, 2, 1, 0, 6},
         1,
         {{0, 3}, {2, 1}, {1, 3}, {1, 1}}},
        {"twice through, longer, from tail",
         {3, 1, 2, 1, 0},
         {6, 0},
         {6, 0, 1, 2, 1, 3},
         1,
         {{0, 3}, {2, 1}, {1, 2}, {1, 4}}},
        {"twice through, shorter",
         {1, 2, 1, 0},
         {0, 6, 7, 8, 9},
         {1, 2, 1, 0, 6, 7, 8, 9},
         1,
         {{0, 3}, {2, 1}, {1, 2}, {1, 0}}},
        // Passing again through the joined point: that node is made anew there too, so it is
        // referenced after the survivor's and the witnesses'.
        {"through the joined point, longer",
         {0, 1, 0, 3},
         {0, 6},
         {3, 0, 1, 0, 6},
         0,
         {{0, 1}, {1, 3}, {2, 0}, {1, 1}}},
        {"through the joined point, shorter",
         {3, 0, 1, 0},
         {9, 8, 7, 6, 0},
         {9, 8, 7, 6, 0, 1, 0, 3},
         0,
         {{0, 1}, {1, 4}, {2, 0}, {1, 6}}},
    };
    const std::vector<int> firstWitness = {3, 0, 7, 1, 6};
    const std::vector<int> secondWitness = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PatchObject object;
        NetworkBuilder build(object);
        build.Point(0, 0, 0);
        for (int i = 1; i <= 5; ++i) {
            build.Point(static_cast<float>(-i), 0, 0);
        }
        for (int i = 1; i <= 4; ++i) {
            build.Point(static_cast<float>(i), 0, 0);
        }
        object.AddSpline(firstWitness, true);
        const std::int32_t absorbed = object.AddSpline(c.absorbed);
        const std::int32_t survivor = object.AddSpline(c.survivor);
        object.AddSpline(secondWitness, true);
        object.IndexReferences();
        // The survivor's nodes keep what they carry; nodes made by the join start afresh.
        for (SplineNode& node : PatchNetworkAccess::SplineNodes(object, absorbed)) {
            node = {PatchVec3(7, 7, 7), PatchVec3(7, 7, 7), node.controlPoint, 0.9f, true};
        }
        for (SplineNode& node : PatchNetworkAccess::SplineNodes(object, survivor)) {
            node = {PatchVec3(1, 2, 3), PatchVec3(4, 5, 6), node.controlPoint, 0.5f, true};
        }
        const auto expectedRefs = RefsAfterJoin(object, absorbed, survivor, c.absorbed.front() == 0,
                                                c.survivor.front() == 0);
        Connect(object, 170.0f);

        ASSERT_EQ(object.SplineCount(), 3);
        EXPECT_EQ(PointIndices(object, 0), firstWitness);
        EXPECT_EQ(PointIndices(object, 1), c.joined);
        EXPECT_EQ(PointIndices(object, 2), secondWitness);
        EXPECT_TRUE(object.Closed(0) && !object.Closed(1) && object.Closed(2));
        EXPECT_EQ(PlacedRefs(object, c.watched), c.watchedRefs);
        for (std::int32_t point = 0; point < object.PointCount(); ++point) {
            EXPECT_EQ(PlacedRefs(object, point), expectedRefs[static_cast<std::size_t>(point)])
                << "point " << point;
        }
        const int made = static_cast<int>(c.absorbed.size()) - 1;
        const int kept = c.survivor.front() == 0 ? made : 0;
        const auto nodes = object.SplineNodes(1);
        for (int place = 0; place < static_cast<int>(nodes.size()); ++place) {
            const SplineNode& node = nodes[static_cast<std::size_t>(place)];
            const bool old = place >= kept && place < kept + static_cast<int>(c.survivor.size());
            EXPECT_EQ(node.tension, old ? 0.5f : 0.3f) << "place " << place;
            EXPECT_EQ(node.corner, old) << "place " << place;
            EXPECT_EQ(node.handleIn.x, old ? 1.0f : 0.0f) << "place " << place;
            EXPECT_EQ(node.handleOut.z, old ? 6.0f : 0.0f) << "place " << place;
        }
    }
}

TEST(ConnectCurvesTest, JoinKeepsSurvivorNodesAndContinuesThroughTheSharedPoint) {
    // At point 1 the first reference is spline 0's tail, the second spline 1's head: spline 0 is
    // walked from its tail and its nodes go to the head of spline 1.
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(1, 0, 0);
    build.Point(2, 0, 0);
    build.Point(-1, 0, 0);
    build.Curve({3, 0, 1});
    build.Curve({1, 2});
    EXPECT_TRUE(ConnectCurves(object, 150.0f, nullptr));
    ASSERT_EQ(object.SplineCount(), 1);
    EXPECT_EQ(PointIndices(object, 0), (std::vector<int>{3, 0, 1, 2}));
    ExpectSound(object);
}

// An absorbed spline whose other end also lies on the joined point leaves the survivor a new end
// there, referenced last, and that end may join again at once.
TEST(ConnectCurvesTest, AnEndMadeAnewAtTheJoinedPointComesLastAndJoinsAgain) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(-1, 1, 0);
    build.Point(-1, -2, 0);
    build.Point(1, 0, 0);
    build.Point(1, 2, 0);
    build.Curve({0, 1, 2, 0});  // both ends on point 0
    build.Curve({0, 3});
    build.Curve({0, 4});  // straight on from the first spline's tail: the widest pair
    Connect(object, 120.0f);
    // The first spline goes into the third, which gains a head on point 0 towards point 1; that
    // head comes after the second spline's end, so the second spline is absorbed in turn.
    ASSERT_EQ(object.SplineCount(), 1);
    EXPECT_EQ(PointIndices(object, 0), (std::vector<int>{3, 0, 1, 2, 0, 4}));
    EXPECT_EQ(PlacedRefs(object, 0), (std::vector<PlacedRef>{{0, 4}, {0, 1}}));
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
            ASSERT_EQ(object.SplineCount(), 1);
            EXPECT_TRUE(object.Closed(0));
            EXPECT_EQ(object.SplineNodeCount(0), 4);
            for (std::int32_t point = 0; point < object.PointCount(); ++point) {
                EXPECT_EQ(object.RefsOf(point).size(), 1u);
            }
        } else {
            EXPECT_EQ(object.SplineCount(), 4);
            EXPECT_EQ(object.NodeCount(), 8);
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
    EXPECT_EQ(AllPointIndices(object), (std::vector<std::vector<int>>{{0, 3}, {1, 0, 2}}));
}

// Many ends at one point: the widest remaining pair joins each time, the first in reference order
// on a tie, until no pair is wider than the limit. The expected pairing comes from trying every
// pair afresh after each join.
TEST(ConnectCurvesTest, FanJoinsTheWidestRemainingPairEachTime) {
    constexpr int kArms = 41;
    const float limit = 1.0f;
    PatchObject object;
    NetworkBuilder build(object);
    const std::int32_t centre = build.Point(0, 0, 0);
    std::mt19937 random(4021);
    std::uniform_real_distribution<float> angle(0.0f, 6.2831853f);
    std::uniform_real_distribution<float> length(0.5f, 2.0f);
    std::vector<std::vector<int>> splines;
    std::vector<PatchVec3> arms;
    for (int i = 0; i < kArms; ++i) {
        const float a = angle(random);
        const float r = length(random);
        const std::int32_t tip = build.Point(r * std::cos(a), r * std::sin(a), 0);
        arms.push_back(object.Points()[static_cast<std::size_t>(tip)]);
        // Every other arm has the centre at its tail.
        splines.push_back(i % 2 == 0 ? std::vector<int>{centre, tip}
                                     : std::vector<int>{tip, centre});
        build.Curve({splines.back()[0], splines.back()[1]});
    }

    // atCentre: the arm's spline still ends at the centre; gone: it was absorbed.
    std::vector<bool> atCentre(kArms, true);
    std::vector<bool> gone(kArms, false);
    const float radians = DegreesToRadians(limit);
    for (;;) {
        int first = -1;
        int second = -1;
        float widest = 0.0f;
        for (int i = 0; i < kArms; ++i) {
            for (int j = i + 1; j < kArms; ++j) {
                if (!atCentre[static_cast<std::size_t>(i)] ||
                    !atCentre[static_cast<std::size_t>(j)]) {
                    continue;
                }
                const float a = AngleBetween(arms[static_cast<std::size_t>(i)],
                                             arms[static_cast<std::size_t>(j)]);
                if (a > radians && a > widest) {
                    widest = a;
                    first = i;
                    second = j;
                }
            }
        }
        if (first < 0) {
            break;
        }
        // The first arm goes into the second at the centre: tip, centre, tip.
        const int tip = splines[static_cast<std::size_t>(first)][first % 2 == 0 ? 1 : 0];
        auto& survivor = splines[static_cast<std::size_t>(second)];
        survivor.insert(second % 2 == 0 ? survivor.begin() : survivor.end(), tip);
        atCentre[static_cast<std::size_t>(first)] = false;
        atCentre[static_cast<std::size_t>(second)] = false;
        gone[static_cast<std::size_t>(first)] = true;
    }
    std::vector<std::vector<int>> expected;
    std::vector<PlacedRef> centreRefs;
    for (int i = 0; i < kArms; ++i) {
        if (!gone[static_cast<std::size_t>(i)]) {
            const auto& points = splines[static_cast<std::size_t>(i)];
            centreRefs.emplace_back(
                static_cast<int>(expected.size()),
                static_cast<int>(std::find(points.begin(), points.end(), centre) - points.begin()));
            expected.push_back(points);
        }
    }
    ASSERT_LT(expected.size(), static_cast<std::size_t>(kArms));

    Connect(object, limit);
    EXPECT_EQ(AllPointIndices(object), expected);
    EXPECT_EQ(PlacedRefs(object, centre), centreRefs);
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
    ASSERT_EQ(object.SplineCount(), 2);
    EXPECT_EQ(PointIndices(object, 0), (std::vector<int>{1, 0, 2}));
    const auto joined = PointIndices(object, 1);
    ASSERT_EQ(joined.size(), 3u);
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
    EXPECT_EQ(object.SplineCount(), 2);
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
        EXPECT_EQ(object.SplineCount(), limit == 180.0f ? 3 : 2);
    }
}

TEST(ConnectCurvesTest, EqualAnglesGoToTheFirstPairInReferenceOrder) {
    // Four arms in a plus: pairs (east, west) and (north, south) are both straight; east-west is
    // found first, so east goes into west, then north into south.
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(1, 0, 0);
    build.Point(0, 1, 0);
    build.Point(-1, 0, 0);
    build.Point(0, -1, 0);
    build.Curve({0, 1});
    build.Curve({0, 2});
    build.Curve({0, 3});
    build.Curve({0, 4});
    Connect(object, 170.0f);
    EXPECT_EQ(AllPointIndices(object), (std::vector<std::vector<int>>{{1, 0, 3}, {2, 0, 4}}));
}

TEST(ConnectCurvesTest, ProgressCountsTheExaminedPointAndRepeatsItAfterAJoin) {
    PatchObject object;
    object.name = "Box";
    NetworkBuilder build(object);
    for (int i = 0; i < 8; ++i) {
        build.Point(static_cast<float>(i), 0, 0);
    }
    build.Curve({3, 4});
    build.Curve({4, 5});
    // Points 0..4 are examined, the join happens at 4, then 4 is examined again and the run
    // goes on to the last point.
    EXPECT_EQ(Connect(object, 150.0f), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 4, 5, 6, 7}));
}

TEST(ConnectCurvesTest, EmptyObjectGivesNoProgress) {
    PatchObject object;
    object.name = "Empty";
    EXPECT_TRUE(Connect(object, 150.0f).empty());
}

TEST(ConnectCurvesTest, CancellingAfterAJoinKeepsTheJoinsSoFar) {
    PatchObject object;
    NetworkBuilder build(object);
    for (int i = 0; i < 4; ++i) {
        build.Point(static_cast<float>(i), 0, 0);
    }
    build.Curve({0, 1});
    build.Curve({1, 2});
    build.Curve({2, 3});
    int asked = 0;
    EXPECT_FALSE(ConnectCurves(object, 150.0f, nullptr, [&asked] { return ++asked == 1; }));
    EXPECT_EQ(asked, 1);
    ExpectSound(object);
    EXPECT_EQ(AllPointIndices(object), (std::vector<std::vector<int>>{{0, 1, 2}, {2, 3}}));
}

// Brute force: after a run no control point may hold a joinable pair of open ends.
bool HasJoinablePair(const PatchObject& object, float limitDegrees) {
    const float limit = DegreesToRadians(limitDegrees);
    for (std::int32_t point = 0; point < object.PointCount(); ++point) {
        const PatchVec3& centre = object.Points()[static_cast<std::size_t>(point)];
        std::vector<PatchVec3> arms;
        for (const SplineRef& ref : object.RefsOf(point)) {
            if (object.Closed(ref.spline)) {
                continue;
            }
            const std::int32_t head = object.SplineStarts()[static_cast<std::size_t>(ref.spline)];
            const std::int32_t tail =
                object.SplineStarts()[static_cast<std::size_t>(ref.spline) + 1] - 1;
            if (ref.node != head && ref.node != tail) {
                continue;
            }
            const std::int32_t neighbour = ref.node == head ? head + 1 : tail - 1;
            arms.push_back(Subtract(
                object.PointOf(object.Nodes()[static_cast<std::size_t>(neighbour)]), centre));
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
        const int nodesBefore = object.NodeCount();
        const int splinesBefore = object.SplineCount();
        const auto texts = Connect(object, limit);
        int closed = 0;
        for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
            closed += object.Closed(spline) ? 1 : 0;
        }
        // Each merge removes one spline and one node; each closing removes one node.
        const int merges = splinesBefore - object.SplineCount();
        EXPECT_EQ(object.NodeCount(), nodesBefore - merges - closed) << "round " << round;
        EXPECT_FALSE(HasJoinablePair(object, limit)) << "round " << round;
        EXPECT_GE(static_cast<int>(texts.size()), pointCount);
    }
}

}  // namespace
}  // namespace korvane
