#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "busy_networks.h"
#include "document/object_store.h"
#include "import/lightwave_reader.h"
#include "import/metasequoia_reader.h"
#include "oracles/literal_curve_connector.h"
#include "patch/curve_connector.h"
#include "patch/patch_invariants.h"
#include "support/generated_network.h"
#include "support/network_builder.h"
#include "tools/modelgen/model_shapes.h"

namespace korvane {
namespace {

using testing::LiteralNetwork;
using testing::NetworkBuilder;
using testing::ShapeOf;

void ExpectSameConnection(PatchObject& fast, float limit) {
    LiteralNetwork literal(fast);
    ConnectCurves(fast, limit, nullptr);
    testing::LiteralConnectCurves(literal, limit, nullptr);
    const auto problems = CheckPatchInvariants(fast);
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_TRUE(ShapeOf(fast) == ShapeOf(literal)) << fast.name << " at " << limit;
}

enum class Layout { kSoup, kGrid, kPaths };

// A random network: a soup of edges between few points (many ends meet, many ties), a lattice
// with gaps (angles of exactly 90 and 180 degrees), or paths of several nodes that cross and
// share points, so that long splines are joined to short ones both ways.
void RandomNetwork(PatchObject& object, std::uint32_t seed, Layout layout) {
    std::mt19937 random(seed);
    NetworkBuilder build(object);
    const int side = 2 + static_cast<int>(random() % 5);
    if (layout == Layout::kPaths) {
        const int points = 4 + static_cast<int>(random() % 10);
        for (int i = 0; i < points; ++i) {
            build.Point(static_cast<float>(random() % 4), static_cast<float>(random() % 4),
                        static_cast<float>(random() % 2));
        }
        const int paths = 1 + static_cast<int>(random() % 12);
        for (int i = 0; i < paths; ++i) {
            std::vector<std::int32_t> path(2 + random() % 6);
            for (std::int32_t& point : path) {
                point = static_cast<std::int32_t>(random() % static_cast<unsigned>(points));
            }
            object.AddSpline(path);
        }
        object.IndexReferences();
        return;
    }
    if (layout == Layout::kGrid) {
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
        for (const Layout layout : {Layout::kSoup, Layout::kGrid, Layout::kPaths}) {
            PatchObject fast;
            RandomNetwork(fast, seed, layout);
            ExpectSameConnection(fast, static_cast<float>(seed % 19) * 10.0f);
        }
    }
}

// A hundred arms from one point, many at exactly the same angles: the widest pair is taken each
// time, and ties go to the earliest references.
TEST(ConnectIdentityTest, ManyEndsAtOnePointMatchTheLiteralConnector) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        PatchObject fast;
        NetworkBuilder build(fast);
        build.Point(0, 0, 0);
        for (int arm = 1; arm <= 100; ++arm) {
            build.Point(static_cast<float>(static_cast<int>(random() % 7) - 3),
                        static_cast<float>(static_cast<int>(random() % 7) - 3),
                        static_cast<float>(static_cast<int>(random() % 3) - 1));
            random() % 2 ? build.Curve({0, arm}) : build.Curve({arm, 0});
        }
        ExpectSameConnection(fast, static_cast<float>(seed % 4));
    }
}

// Points where more ends meet than the connector measures pair by pair, so that it looks for
// partners in its tree of directions: fans, stars of fans (on whole numbers, with many equal
// angles, or not; the hub first or last in the point list, so that far ends come back to it before
// or after its turn), rays joined outwards before the hub's turn, each join making the ray's end at
// the hub anew, and hubs with open spokes, closed loops, open loops that come back to the hub
// (their far end made anew there), curves through it, arms of no length, arms too long or too short
// for the tree, and an arm to infinity.
TEST(ConnectIdentityTest, BusyPointsMatchTheLiteralConnector) {
    std::vector<std::pair<std::string, PatchObject>> networks;
    for (const std::int32_t spokes : {65, 130, 301}) {
        testing::BuildGenerated(modelgen::MakeFan(spokes), networks.emplace_back().second);
        networks.back().first = "fan of " + std::to_string(spokes);
    }
    for (const testing::StarShape& star :
         {testing::StarShape{3, 40, false, false}, testing::StarShape{5, 24, true, false},
          testing::StarShape{2, 90, false, true}, testing::StarShape{12, 8, true, true}}) {
        testing::BuildStar(networks.emplace_back().second, star);
        networks.back().first = "star of " + std::to_string(star.fans);
    }
    for (const int rays : {20, 70}) {
        testing::BuildRays(networks.emplace_back().second, rays, 5);
        networks.back().first = std::to_string(rays) + " rays";
    }
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        testing::BuildMixedHub(networks.emplace_back().second, seed, 120, seed % 3 == 0,
                               seed % 10 == 5);
        networks.back().first = "hub " + std::to_string(seed);
    }
    for (auto& [name, network] : networks) {
        for (const float limit : {150.0f, 90.0f, 20.0f, 0.0f}) {
            PatchObject object = network;
            object.name = name;
            ExpectSameConnection(object, limit);
            if (HasFailure()) {
                return;
            }
        }
    }
}

// Stopped after its k-th join, a run leaves the network that the literal connector has after its
// k-th join, and sound.
TEST(ConnectIdentityTest, CancelAfterKJoinsKeepsExactlyTheFirstKJoins) {
    size_t cutsTried = 0;
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        for (const Layout layout : {Layout::kSoup, Layout::kGrid, Layout::kPaths}) {
            const float limit = static_cast<float>(seed % 10) * 10.0f;
            PatchObject full;
            RandomNetwork(full, seed, layout);
            // The literal connector's network after each of its joins, by running it with a
            // cap on the joins: it stops when the cap is reached.
            std::size_t joinsMade = 0;
            {
                PatchObject counted;
                RandomNetwork(counted, seed, layout);
                EXPECT_TRUE(ConnectCurves(counted, limit, nullptr, [&] {
                    ++joinsMade;
                    return false;
                }));
            }
            for (size_t k = 1; k <= joinsMade; ++k) {
                PatchObject cut;
                RandomNetwork(cut, seed, layout);
                size_t joins = 0;
                EXPECT_FALSE(ConnectCurves(cut, limit, nullptr, [&] { return ++joins == k; }));
                ASSERT_EQ(joins, k);
                PatchObject source;
                RandomNetwork(source, seed, layout);
                LiteralNetwork literal(source);
                testing::LiteralConnectCurves(literal, limit, nullptr, k);
                EXPECT_TRUE(ShapeOf(cut) == ShapeOf(literal)) << seed << " after " << k;
                const auto problems = CheckPatchInvariants(cut);
                EXPECT_TRUE(problems.empty()) << problems.front();
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
    std::vector<std::int32_t> examined;
    LiteralNetwork literal(object);
    testing::LiteralConnectCurves(literal, 150.0f,
                                  [&](std::int32_t point) { examined.push_back(point); });
    ASSERT_EQ(examined.size(), 13u);
    EXPECT_EQ(examined[0], 0);
    EXPECT_EQ(examined[4], 4);
    EXPECT_EQ(examined[5], 0);
    EXPECT_EQ(examined[12], 7);
}

// Whole generated models at several limits. The grid is large enough that the connector runs out
// of room for its growing chains and packs its arena on the way.
TEST(ConnectIdentityTest, GeneratedModelsMatchTheLiteralConnector) {
    const modelgen::GeneratedModel models[] = {
        modelgen::MakeGrid(30, 30), modelgen::MakeTorus(16, 12), modelgen::MakeSphere(24, 9),
        modelgen::MakeTriangleSoup(14, 11, 5), modelgen::MakeMirrorHalf(6, 5, 3)};
    for (const modelgen::GeneratedModel& model : models) {
        for (const float limit : {150.0f, 90.0f, 20.0f}) {
            PatchObject object;
            testing::BuildGenerated(model, object);
            object.name = model.name;
            ExpectSameConnection(object, limit);
        }
    }
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
    ImportMetasequoiaBytes(file, fast);
    ASSERT_EQ(fast.objects.GetCount(), 1);
    ASSERT_EQ(fast.objects.GetHead()->PointCount(), (kLines + 1) * 12);
    ExpectSameConnection(*fast.objects.GetHead(), 150.0f);
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
        const ImportResult result =
            path.extension() == ".mqo" ? ImportMetasequoia(path.string(), fast)
                                       : ImportLightWave(path.string(), path.stem().string(), fast);
        ASSERT_EQ(result.status, ImportStatus::kImported);
        for (PatchObject* object : fast.objects) {
            ExpectSameConnection(*object, 150.0f);
        }
    }
}

}  // namespace
}  // namespace korvane
