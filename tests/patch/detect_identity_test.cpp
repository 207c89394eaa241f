#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "busy_networks.h"
#include "oracles/literal_detect_patches.h"
#include "patch/curve_connector.h"
#include "patch/patch_invariants.h"
#include "support/generated_network.h"
#include "support/network_builder.h"
#include "tools/modelgen/model_shapes.h"

// DetectPatches against the literal depth-first search on the same networks: the same patches,
// edge for edge, in the same order.

namespace korvane {
namespace {

using testing::NetworkBuilder;

// Both searches on one network; detection changes nothing but the patches.
void ExpectSameDetection(PatchObject& object) {
    ASSERT_TRUE(CheckPatchInvariants(object).empty());
    const testing::LiteralNetwork before(object);
    const std::vector<testing::PatchShape> literal = testing::LiteralDetectPatches(before);
    DetectPatches(object);
    EXPECT_TRUE(object.PatchesValid());
    EXPECT_TRUE(CheckPatchInvariants(object).empty());
    EXPECT_TRUE(testing::ShapeOf(object) == testing::ShapeOf(before));
    const std::vector<testing::PatchShape> fast = testing::PatchShapesOf(object);
    ASSERT_EQ(fast.size(), literal.size());
    for (std::size_t i = 0; i < fast.size(); ++i) {
        ASSERT_TRUE(fast[i] == literal[i]) << "patch " << i << " of " << fast.size();
    }
}

// Points on a small lattice (so that edges meet at many angles and close many loops), joined by
// splines of two to five nodes, some closed, some running through a point twice in a row.
void RandomNetwork(PatchObject& object, std::uint32_t seed) {
    std::mt19937 random(seed);
    NetworkBuilder build(object);
    const int side = 2 + static_cast<int>(random() % 4);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            build.Point(static_cast<float>(x), static_cast<float>(y),
                        static_cast<float>(random() % 2));
        }
    }
    const int points = side * side;
    const int curves = 2 + static_cast<int>(random() % 20);
    for (int c = 0; c < curves; ++c) {
        std::vector<std::int32_t> chain = {
            static_cast<std::int32_t>(random() % static_cast<unsigned>(points))};
        const int length = 2 + static_cast<int>(random() % 4);
        while (static_cast<int>(chain.size()) < length) {
            const int at = chain.back();
            const int step = static_cast<int>(random() % 5);
            const int next = step == 0                           ? at  // a zero-length segment
                             : step == 1 && at % side + 1 < side ? at + 1
                             : step == 2 && at % side > 0        ? at - 1
                             : step == 3 && at + side < points   ? at + side
                             : at >= side                        ? at - side
                                                                 : at;
            chain.push_back(next);
        }
        const bool closed = random() % 4 == 0 && chain.front() != chain.back();
        object.AddSpline(chain, closed);
    }
    object.IndexReferences();
}

TEST(DetectIdentityTest, RandomNetworksMatchTheLiteralSearch) {
    for (std::uint32_t seed = 1; seed <= 600; ++seed) {
        SCOPED_TRACE(seed);
        PatchObject object;
        RandomNetwork(object, seed);
        ExpectSameDetection(object);
        if (HasFailure()) {
            return;
        }
    }
}

TEST(DetectIdentityTest, GeneratedModelsMatchBeforeAndAfterConnectCurve) {
    const modelgen::GeneratedModel models[] = {
        modelgen::MakeTorus(13, 9),          modelgen::MakeSphere(24, 7),
        modelgen::MakeTriangleSoup(9, 8, 3), modelgen::MakeGrid(7, 5),
        modelgen::MakeMirrorHalf(6, 5, 3),   modelgen::MakeLatheProfile(6, 4)};
    for (const modelgen::GeneratedModel& model : models) {
        for (const float limit : {180.0f, 150.0f, 60.0f}) {
            SCOPED_TRACE(model.name + " connected at " + std::to_string(limit));
            PatchObject object;
            testing::BuildGenerated(model, object);
            ConnectCurves(object, limit, nullptr);
            ExpectSameDetection(object);
        }
    }
}

// A hub with ten fan triangles and a quad round it whose only triangle within has no corner on the
// hub (it stays on one point for a segment). Found from the hub first, where the fan's triangles
// outnumber those of the quad's other corners, the quad is still a patch of its own.
void QuadRoundATriangleOffTheHub(PatchObject& object) {
    constexpr int kRim = 10;
    const std::int32_t hub = object.AddControlPoint(PatchVec3(0, 0, 0));
    const std::int32_t a = object.AddControlPoint(PatchVec3(-2, -1, 0));
    const std::int32_t b = object.AddControlPoint(PatchVec3(-3, 0, 0));
    const std::int32_t c = object.AddControlPoint(PatchVec3(-2, 1, 0));
    object.AddSpline(std::vector<std::int32_t>{hub, a});
    for (int i = 0; i < kRim; ++i) {
        const float turn = 3.0f * static_cast<float>(i) / kRim - 1.5f;
        object.AddControlPoint(PatchVec3(std::cos(turn), std::sin(turn), 0));
    }
    for (int i = 0; i < kRim; ++i) {
        object.AddSpline(std::vector<std::int32_t>{hub, 4 + i});
        object.AddSpline(std::vector<std::int32_t>{4 + i, 4 + (i + 1) % kRim});
    }
    object.AddSpline(std::vector<std::int32_t>{a, b});
    object.AddSpline(std::vector<std::int32_t>{a, b, b});
    object.AddSpline(std::vector<std::int32_t>{b, c});
    object.AddSpline(std::vector<std::int32_t>{c, hub});
    object.IndexReferences();
}

// Points where many curves meet, busy enough that the search looks up the exits there instead of
// walking them all: fans, stars of fans (some of quads, on whole numbers or not, the hub first or
// last in the point list), hubs with open, closed and looping curves through them, and a start
// whose patches are many.
TEST(DetectIdentityTest, BusyPointsMatchBeforeAndAfterConnectCurve) {
    std::vector<std::pair<std::string, PatchObject>> networks;
    for (const std::int32_t spokes : {3, 17, 40, 300, 800}) {
        testing::BuildGenerated(modelgen::MakeFan(spokes), networks.emplace_back().second);
        networks.back().first = "fan of " + std::to_string(spokes);
    }
    for (const testing::StarShape& star :
         {testing::StarShape{2, 24, false, false}, testing::StarShape{5, 30, true, false},
          testing::StarShape{4, 100, false, true}, testing::StarShape{12, 8, true, true}}) {
        testing::BuildStar(networks.emplace_back().second, star);
        networks.back().first = "star of " + std::to_string(star.fans);
    }
    QuadRoundATriangleOffTheHub(networks.emplace_back().second);
    networks.back().first = "quad round a triangle off the hub";
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        testing::BuildMixedHub(networks.emplace_back().second, seed,
                               30 + static_cast<int>(seed % 4) * 15, false, false);
        networks.back().first = "hub " + std::to_string(seed);
    }
    for (auto& [name, network] : networks) {
        for (const float limit : {-1.0f, 150.0f, 60.0f}) {
            SCOPED_TRACE(name + " connected at " + std::to_string(limit));
            PatchObject object = network;
            if (limit >= 0.0f) {
                ConnectCurves(object, limit, nullptr);
            }
            ExpectSameDetection(object);
            if (HasFailure()) {
                return;
            }
        }
    }
}

}  // namespace
}  // namespace korvane
