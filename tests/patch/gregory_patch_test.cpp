#include "patch/gregory_patch.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "patch/bezier_net.h"

namespace korvane {
namespace {

// Side s's proposals sit at inner[2 s] and inner[2 s + 1]; these are the net positions they
// propose.
constexpr std::array<std::array<int, 2>, 8> kProposedCells{
    {{1, 1}, {2, 1}, {2, 1}, {2, 2}, {2, 2}, {1, 2}, {1, 2}, {1, 1}}};

// A patch with every point drawn at random round a gently curved sheet, and each inner point's
// two proposals apart by up to `spread`.
GregoryPatch RandomPatch(unsigned seed, float spread) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> jitter(-0.3f, 0.3f);
    const auto at = [&](int u, int v) {
        return PatchVec3(static_cast<float>(u) + jitter(random),
                         static_cast<float>(v) + jitter(random),
                         0.2f * static_cast<float>(u * v) + jitter(random));
    };
    GregoryPatch patch;
    for (int k = 0; k < 12; ++k) {
        const auto [u, v] = GregoryBorderCell(k);
        patch.border[static_cast<std::size_t>(k)] = at(u, v);
    }
    for (std::size_t k = 0; k < patch.inner.size(); ++k) {
        const PatchVec3 centre = at(kProposedCells[k][0], kProposedCells[k][1]);
        patch.inner[k] = PatchVec3(centre.x + spread * jitter(random),
                                   centre.y + spread * jitter(random), centre.z);
    }
    return patch;
}

// The Bezier net whose inner point (i, j) is the proposal inner[choice(i, j)].
BezierNet NetOf(const GregoryPatch& patch, const std::array<std::size_t, 4>& innerChoice) {
    BezierNet net;
    for (int k = 0; k < 12; ++k) {
        const auto [u, v] = GregoryBorderCell(k);
        net.SetPoint(u, v, patch.border[static_cast<std::size_t>(k)]);
    }
    net.SetPoint(1, 1, patch.inner[innerChoice[0]]);
    net.SetPoint(2, 1, patch.inner[innerChoice[1]]);
    net.SetPoint(1, 2, patch.inner[innerChoice[2]]);
    net.SetPoint(2, 2, patch.inner[innerChoice[3]]);
    return net;
}

double Distance(const Vec3& a, const Vec3& b) {
    const double dx = double{a.x} - b.x;
    const double dy = double{a.y} - b.y;
    const double dz = double{a.z} - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

bool Finite(const Vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

TEST(GregoryPatchTest, WithEqualProposalsItIsTheBezierPatchOfItsNet) {
    for (unsigned seed = 1; seed <= 5; ++seed) {
        SCOPED_TRACE(seed);
        GregoryPatch patch = RandomPatch(seed, 0.0f);
        // The same point proposed by both sides: side 3 and side 1 take the u sides' values.
        patch.inner[7] = patch.inner[0];
        patch.inner[2] = patch.inner[1];
        patch.inner[3] = patch.inner[4];
        patch.inner[6] = patch.inner[5];
        for (const int steps : {1, 4, 7}) {
            std::vector<SurfaceSample> expected;
            std::vector<SurfaceSample> actual;
            SampleNetGrid(NetOf(patch, {0, 1, 5, 4}), steps, expected);
            SampleGregoryGrid(patch, steps, actual);
            ASSERT_EQ(actual.size(), expected.size());
            for (std::size_t i = 0; i < actual.size(); ++i) {
                EXPECT_LT(Distance(actual[i].position, expected[i].position), 2e-6) << i;
                EXPECT_LT(Distance(actual[i].normal, expected[i].normal), 2e-6) << i;
            }
        }
    }
}

// Along each side the patch is the Bezier patch of that side's own proposals, up to the
// derivative across the side, whatever the other sides propose.
TEST(GregoryPatchTest, EachSideFollowsItsOwnProposalsAlone) {
    struct SideCase {
        const char* name;
        std::array<std::size_t, 4> innerChoice;  // for (1, 1), (2, 1), (1, 2), (2, 2)
        std::array<float, 2> from;               // (u, v) where the side starts ...
        std::array<float, 2> along;              // ... and the way it runs
    };
    const SideCase sides[] = {
        {"v = 0", {0, 1, 5, 4}, {0, 0}, {1, 0}},
        {"u = 1", {7, 2, 6, 3}, {1, 0}, {0, 1}},
        {"v = 1", {0, 1, 5, 4}, {1, 1}, {-1, 0}},
        {"u = 0", {7, 2, 6, 3}, {0, 1}, {0, -1}},
    };
    const GregoryPatch patch = RandomPatch(11, 1.0f);
    for (const SideCase& side : sides) {
        SCOPED_TRACE(side.name);
        GregoryPatch bezier = patch;
        for (std::size_t k = 0; k < 4; ++k) {
            // Both proposals of each inner point become the one this side uses.
            const auto [i, j] = std::array<int, 2>{k % 2 == 0 ? 1 : 2, k < 2 ? 1 : 2};
            for (std::size_t p = 0; p < 8; ++p) {
                if (kProposedCells[p][0] == i && kProposedCells[p][1] == j) {
                    bezier.inner[p] = patch.inner[side.innerChoice[k]];
                }
            }
        }
        for (int step = 1; step < 8; ++step) {
            const float t = static_cast<float>(step) / 8.0f;
            const float u = side.from[0] + t * side.along[0];
            const float v = side.from[1] + t * side.along[1];
            const GregoryPoint actual = EvaluateGregory(patch, u, v);
            const GregoryPoint expected = EvaluateGregory(bezier, u, v);
            EXPECT_LT(Distance(actual.position, expected.position), 1e-5) << t;
            EXPECT_LT(Distance(actual.alongU, expected.alongU), 1e-4) << t;
            EXPECT_LT(Distance(actual.alongV, expected.alongV), 1e-4) << t;
        }
        // Away from the side the other proposals count: the two patches part.
        const GregoryPoint inside = EvaluateGregory(patch, 0.5f, 0.5f);
        EXPECT_GT(Distance(inside.position, EvaluateGregory(bezier, 0.5f, 0.5f).position), 1e-3);
    }
}

// The derivatives, with those of the blends, are those of the position.
TEST(GregoryPatchTest, DerivativesAreThoseOfThePosition) {
    const GregoryPatch patch = RandomPatch(5, 1.0f);
    const float h = 1.0f / 1024.0f;
    for (const auto& [u, v] : std::vector<std::array<float, 2>>{{0.5f, 0.5f},
                                                                {0.1f, 0.2f},
                                                                {0.9f, 0.15f},
                                                                {0.2f, 0.85f},
                                                                {0.75f, 0.75f},
                                                                {0.02f, 0.03f},
                                                                {0.97f, 0.02f},
                                                                {0.5f, 0.98f}}) {
        SCOPED_TRACE(::testing::Message() << u << ", " << v);
        const GregoryPoint p = EvaluateGregory(patch, u, v);
        const Vec3 du = Scale(Subtract(EvaluateGregory(patch, u + h, v).position,
                                       EvaluateGregory(patch, u - h, v).position),
                              0.5f / h);
        const Vec3 dv = Scale(Subtract(EvaluateGregory(patch, u, v + h).position,
                                       EvaluateGregory(patch, u, v - h).position),
                              0.5f / h);
        EXPECT_LT(Distance(p.alongU, du), 2e-3 * (1.0 + Length(du)));
        EXPECT_LT(Distance(p.alongV, dv), 2e-3 * (1.0 + Length(dv)));
    }
}

// At a corner both weights of the inner point there vanish; the limit holds the corner point and
// the derivatives along the two sides, and no NaN.
TEST(GregoryPatchTest, CornersTakeTheLimitOfTheBlend) {
    const GregoryPatch patch = RandomPatch(3, 1.0f);
    struct Corner {
        float u, v;
        std::size_t point, alongU, alongV;  // border indices: corner, its neighbours along u, v
        float signU, signV;                 // the neighbour lies at the larger u (v) or not
    };
    const Corner corners[] = {{0, 0, 0, 1, 11, 1, 1},
                              {1, 0, 3, 2, 4, -1, 1},
                              {1, 1, 6, 7, 5, -1, -1},
                              {0, 1, 9, 8, 10, 1, -1}};
    for (const Corner& c : corners) {
        SCOPED_TRACE(::testing::Message() << c.u << ", " << c.v);
        const GregoryPoint p = EvaluateGregory(patch, c.u, c.v);
        ASSERT_TRUE(Finite(p.position) && Finite(p.alongU) && Finite(p.alongV));
        const PatchVec3 corner = patch.border[c.point];
        EXPECT_LT(Distance(p.position, {corner.x, corner.y, corner.z}), 1e-6);
        const PatchVec3 towardsU = Subtract(patch.border[c.alongU], corner);
        const PatchVec3 towardsV = Subtract(patch.border[c.alongV], corner);
        const float su = 3.0f * c.signU;
        const float sv = 3.0f * c.signV;
        EXPECT_LT(Distance(p.alongU, {su * towardsU.x, su * towardsU.y, su * towardsU.z}), 1e-5);
        EXPECT_LT(Distance(p.alongV, {sv * towardsV.x, sv * towardsV.y, sv * towardsV.z}), 1e-5);
    }
    // Just off a corner the blend's derivatives grow without bound; the evaluation must neither
    // overflow nor lose the corner.
    const PatchVec3 origin = patch.border[0];
    for (const float tiny : {1e-20f, 1e-30f, 1e-40f}) {
        SCOPED_TRACE(tiny);
        const GregoryPoint p = EvaluateGregory(patch, tiny, tiny);
        ASSERT_TRUE(Finite(p.position) && Finite(p.alongU) && Finite(p.alongV));
        EXPECT_LT(Distance(p.position, {origin.x, origin.y, origin.z}), 1e-6);
        const GregoryPoint corner = EvaluateGregory(patch, 0.0f, 0.0f);
        EXPECT_LT(Distance(p.alongU, corner.alongU), 1e-5);
        EXPECT_LT(Distance(p.alongV, corner.alongV), 1e-5);
    }
    std::vector<SurfaceSample> grid;
    SampleGregoryGrid(patch, 0, grid);
    ASSERT_EQ(grid.size(), 4u);  // a step count below 1 counts as 1: the four corners
    for (const SurfaceSample& s : grid) {
        EXPECT_TRUE(Finite(s.position) && Finite(s.normal));
        EXPECT_NEAR(Length(s.normal), 1.0f, 1e-6f);
    }
}

}  // namespace
}  // namespace korvane
