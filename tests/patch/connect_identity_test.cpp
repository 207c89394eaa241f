#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "import/lightwave_reader.h"
#include "import/metasequoia_reader.h"
#include "import/object_sink.h"
#include "oracles/literal_curve_connector.h"
#include "patch/curve_connector.h"
#include "patch/patch_invariants.h"
#include "support/network_builder.h"

namespace korvane {
namespace {

using testing::NetworkBuilder;

// Everything connection can change, by position: each spline's closed flag and the control point
// of each node, and each control point's references as (spline position, node position).
struct NetworkShape {
    std::vector<std::pair<int, std::vector<int>>> splines;
    std::vector<std::vector<std::pair<int, int>>> references;
    bool operator==(const NetworkShape&) const = default;
};

NetworkShape ShapeOf(const PatchObject& object) {
    std::unordered_map<const ControlPoint*, int> pointIndex;
    std::unordered_map<const Spline*, int> splineIndex;
    std::unordered_map<const SplineNode*, int> nodeIndex;
    for (const ControlPoint* point : object.controlPoints) {
        pointIndex.emplace(point, static_cast<int>(pointIndex.size()));
    }
    NetworkShape shape;
    for (const Spline* spline : object.splines) {
        splineIndex.emplace(spline, static_cast<int>(splineIndex.size()));
        std::vector<int> points;
        for (const SplineNode* node : spline->nodes) {
            nodeIndex.emplace(node, static_cast<int>(points.size()));
            points.push_back(pointIndex.at(node->controlPoint));
        }
        shape.splines.emplace_back(spline->closed, std::move(points));
    }
    for (const ControlPoint* point : object.controlPoints) {
        std::vector<std::pair<int, int>> refs;
        for (const SplineRef* ref : point->splineRefs) {
            refs.emplace_back(splineIndex.at(ref->spline), nodeIndex.at(ref->node));
        }
        shape.references.push_back(std::move(refs));
    }
    return shape;
}

void ExpectSameConnection(PatchObject& fast, PatchObject& literal, float limit) {
    ASSERT_EQ(ShapeOf(fast), ShapeOf(literal));
    CurveConnector().ConnectCurves(fast, limit, nullptr);
    testing::LiteralConnectCurves(literal, limit, nullptr);
    EXPECT_TRUE(CheckPatchInvariants(fast).empty());
    EXPECT_TRUE(ShapeOf(fast) == ShapeOf(literal)) << fast.name << " at " << limit;
}

// A network drawn twice with the same random sequence.
void RandomNetwork(PatchObject& object, std::uint32_t seed, bool grid) {
    std::mt19937 random(seed);
    NetworkBuilder build(object);
    const int side = 2 + static_cast<int>(random() % 5);
    if (grid) {
        // Axis-aligned lattice edges: many ends meet at exactly 180 and 90 degrees.
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                build.Point(static_cast<float>(x), static_cast<float>(y), 0);
            }
        }
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const int at = y * side + x;
                if (x + 1 < side && random() % 5 != 0) {
                    random() % 2 ? build.Curve({at, at + 1}) : build.Curve({at + 1, at});
                }
                if (y + 1 < side && random() % 5 != 0) {
                    random() % 2 ? build.Curve({at, at + side}) : build.Curve({at + side, at});
                }
            }
        }
        return;
    }
    const int points = side * 2;
    for (int i = 0; i < points; ++i) {
        build.Point(static_cast<float>(random() % 3), static_cast<float>(random() % 3),
                    static_cast<float>(random() % 2));
    }
    const int splines = static_cast<int>(random() % 25);
    for (int i = 0; i < splines; ++i) {
        build.Curve({static_cast<int>(random() % points), static_cast<int>(random() % points)});
    }
}

TEST(ConnectIdentityTest, RandomNetworksAndGridsMatchTheLiteralConnector) {
    for (std::uint32_t seed = 1; seed <= 400; ++seed) {
        for (const bool grid : {false, true}) {
            PatchObject fast;
            PatchObject literal;
            RandomNetwork(fast, seed, grid);
            RandomNetwork(literal, seed, grid);
            const float limit = static_cast<float>(seed % 19) * 10.0f;
            ExpectSameConnection(fast, literal, limit);
        }
    }
}

// Stopped after its k-th join, a run leaves the network an uncancelled run had right after its k-th
// join, sound and renumbered; a check that never stops it changes nothing.
TEST(ConnectIdentityTest, CancelAfterKJoinsKeepsExactlyTheFirstKJoins) {
    size_t cutsTried = 0;
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        for (const bool grid : {false, true}) {
            const float limit = static_cast<float>(seed % 10) * 10.0f;
            PatchObject full;
            PatchObject plain;
            RandomNetwork(full, seed, grid);
            RandomNetwork(plain, seed, grid);
            std::vector<NetworkShape> afterJoin;
            EXPECT_TRUE(CurveConnector().ConnectCurves(full, limit, nullptr, [&] {
                afterJoin.push_back(ShapeOf(full));
                return false;
            }));
            CurveConnector().ConnectCurves(plain, limit, nullptr);
            ASSERT_EQ(ShapeOf(full), ShapeOf(plain)) << seed;
            for (size_t k = 1; k <= afterJoin.size(); ++k) {
                PatchObject cut;
                RandomNetwork(cut, seed, grid);
                size_t joins = 0;
                EXPECT_FALSE(CurveConnector().ConnectCurves(cut, limit, nullptr,
                                                            [&] { return ++joins == k; }));
                ASSERT_EQ(joins, k);
                EXPECT_TRUE(ShapeOf(cut) == afterJoin[k - 1]) << seed << " after " << k;
                const auto problems = CheckPatchInvariants(cut);
                EXPECT_TRUE(problems.empty()) << problems.front();
                std::int32_t position = 0;
                for (const Spline* spline : cut.splines) {
                    EXPECT_EQ(spline->index, position++);
                }
                ++cutsTried;
            }
        }
    }
    EXPECT_GT(cutsTried, 200u) << "too few joins to say anything";
}

TEST(ConnectIdentityTest, TheLiteralConnectorRestartsEveryPassFromTheFirstPoint) {
    PatchObject object;
    object.name = "Box";
    NetworkBuilder build(object);
    for (int i = 0; i < 8; ++i) {
        build.Point(static_cast<float>(i), 0, 0);
    }
    build.Curve({3, 4});
    build.Curve({4, 5});
    std::vector<std::string> texts;
    testing::LiteralConnectCurves(object, 150.0f,
                                  [&](const std::string& t) { texts.push_back(t); });
    ASSERT_EQ(texts.size(), 13u);
    EXPECT_EQ(texts[0], "Box 0 / 8");
    EXPECT_EQ(texts[4], "Box 4 / 8");
    EXPECT_EQ(texts[5], "Box 0 / 8");
    EXPECT_EQ(texts[12], "Box 7 / 8");
}

// A 12-segment ring has corners of 150 degrees, met at the limit people type most: whether such a
// corner joins must not depend on how the C library rounds its arc cosine.
TEST(ConnectIdentityTest, TwelveSegmentLatheAtItsCornerAngle) {
    std::string profile;
    std::string lines;
    constexpr int kLines = 40;
    for (int i = 0; i <= kLines; ++i) {
        const float radius = 10.0f + 4.0f * std::sin(static_cast<float>(i) * 0.3f);
        profile += std::to_string(radius) + " " + std::to_string(i * 2.5) + " 0\n";
        if (i < kLines) {
            lines += "2 V(" + std::to_string(i) + " " + std::to_string(i + 1) + ")\n";
        }
    }
    const std::string file =
        "Metasequoia Document\nObject \"vase\" {\nlathe 3\nlathe_seg 12\nvertex " +
        std::to_string(kLines + 1) + " {\n" + profile + "}\nface " + std::to_string(kLines) +
        " {\n" + lines + "}\n}\nEof\n";
    ObjectStore fast;
    ObjectStore literal;
    ImportMetasequoiaBytes(file, fast);
    ImportMetasequoiaBytes(file, literal);
    ASSERT_EQ(fast.objects.GetCount(), 1);
    ASSERT_EQ(fast.objects.GetHead()->controlPoints.GetCount(), (kLines + 1) * 12);
    ExpectSameConnection(*fast.objects.GetHead(), *literal.objects.GetHead(), 150.0f);
}

TEST(ConnectIdentityTest, EveryCorpusModelMatchesTheLiteralConnector) {
    namespace fs = std::filesystem;
    const fs::path root = KORVANE_CORPUS_DIR;
    if (!fs::is_directory(root)) {
        GTEST_SKIP() << "no corpus at " << root;
    }
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::path& path = entry.path();
        if (path.extension() != ".mqo" && path.extension() != ".lwo") {
            continue;
        }
        SCOPED_TRACE(path.string());
        ObjectStore fast;
        ObjectStore literal;
        for (ObjectStore* store : {&fast, &literal}) {
            const ImportResult result =
                path.extension() == ".mqo"
                    ? ImportMetasequoia(path.string(), *store)
                    : ImportLightWave(path.string(), path.stem().string(), *store);
            ASSERT_EQ(result.status, ImportStatus::kImported);
        }
        auto literalPosition = literal.objects.GetHeadPosition();
        for (PatchObject* object : fast.objects) {
            ExpectSameConnection(*object, *literal.objects.GetNext(literalPosition), 150.0f);
        }
    }
}

}  // namespace
}  // namespace korvane
