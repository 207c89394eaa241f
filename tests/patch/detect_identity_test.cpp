#include <gtest/gtest.h>

#include <array>
#include <random>
#include <tuple>
#include <vector>

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

using PatchRecord =
    std::tuple<int, std::array<const SplineNode*, 4>, std::array<const SplineNode*, 4>,
               std::array<const Spline*, 4>, std::array<int, 4>>;

std::vector<PatchRecord> Records(const PatchObject& object) {
    std::vector<PatchRecord> records;
    for (const Patch* patch : object.patches) {
        PatchRecord record;
        std::get<0>(record) = patch->cornerCount;
        for (int i = 0; i < 4; ++i) {
            std::get<1>(record)[i] = patch->edgeStart[i];
            std::get<2>(record)[i] = patch->edgeEnd[i];
            std::get<3>(record)[i] = patch->spline[i];
            std::get<4>(record)[i] = patch->forward[i];
        }
        records.push_back(record);
    }
    return records;
}

// Both searches on one network (detection changes nothing but the patches and the indices).
void ExpectSameDetection(PatchObject& object) {
    ASSERT_TRUE(CheckPatchInvariants(object).empty());
    testing::LiteralDetectPatches(object);
    const std::vector<PatchRecord> literal = Records(object);
    DetectPatches(object);
    EXPECT_EQ(object.patchesValid, 1);
    EXPECT_TRUE(CheckPatchInvariants(object).empty());
    for (const ControlPoint* point : object.controlPoints) {
        ASSERT_TRUE(point->patches.IsEmpty());
    }
    const std::vector<PatchRecord> fast = Records(object);
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
        std::vector<int> chain = {static_cast<int>(random() % static_cast<unsigned>(points))};
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
        Spline* spline = nullptr;
        switch (chain.size()) {
            case 2:
                spline = build.Curve({chain[0], chain[1]});
                break;
            case 3:
                spline = build.Curve({chain[0], chain[1], chain[2]});
                break;
            case 4:
                spline = build.Curve({chain[0], chain[1], chain[2], chain[3]});
                break;
            default:
                spline = build.Curve({chain[0], chain[1], chain[2], chain[3], chain[4]});
                break;
        }
        if (random() % 4 == 0 && chain.front() != chain.back()) {
            spline->closed = 1;
        }
    }
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
            CurveConnector().ConnectCurves(object, limit, nullptr);
            ExpectSameDetection(object);
        }
    }
}

}  // namespace
}  // namespace korvane
