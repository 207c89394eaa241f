#include "patch/surface_sampling.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>

namespace korvane {
namespace {

// The net of the plane patch P(u, v) = origin + u * across + v * up, control points at thirds.
BezierNet PlaneNet(const Vec3& origin, const Vec3& across, const Vec3& up) {
    BezierNet net;
    for (int v = 0; v < 4; ++v) {
        for (int u = 0; u < 4; ++u) {
            const float a = static_cast<float>(u) / 3.0f;
            const float b = static_cast<float>(v) / 3.0f;
            net.SetPoint(
                u, v,
                PatchVec3(origin.x + a * across.x + b * up.x, origin.y + a * across.y + b * up.y,
                          origin.z + a * across.z + b * up.z));
        }
    }
    return net;
}

// De Casteljau along u for every row, then along v: independent of the Bernstein weights.
Vec3 DeCasteljau(const BezierNet& net, double u, double v) {
    std::array<std::array<double, 3>, 4> column{};
    for (int row = 0; row < 4; ++row) {
        std::array<std::array<double, 3>, 4> p{};
        for (int i = 0; i < 4; ++i) {
            const PatchVec3 q = net.Point(i, row);
            p[i] = {q.x, q.y, q.z};
        }
        for (int level = 3; level > 0; --level) {
            for (int i = 0; i < level; ++i) {
                for (int c = 0; c < 3; ++c) {
                    p[i][c] = (1 - u) * p[i][c] + u * p[i + 1][c];
                }
            }
        }
        column[row] = p[0];
    }
    for (int level = 3; level > 0; --level) {
        for (int i = 0; i < level; ++i) {
            for (int c = 0; c < 3; ++c) {
                column[i][c] = (1 - v) * column[i][c] + v * column[i + 1][c];
            }
        }
    }
    return Vec3{static_cast<float>(column[0][0]), static_cast<float>(column[0][1]),
                static_cast<float>(column[0][2])};
}

void ExpectNear(const Vec3& actual, const Vec3& expected, float tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST(SurfaceSamplingTest, APlaneIsSampledEvenlyWithTheNormalOfUAcrossV) {
    const BezierNet net = PlaneNet({1, 2, 3}, {6, 0, 0}, {0, 3, 0});
    std::vector<SurfaceSample> grid;
    SampleNetGrid(net, 3, grid);
    ASSERT_EQ(grid.size(), 16u);
    for (int j = 0; j <= 3; ++j) {
        for (int i = 0; i <= 3; ++i) {
            const SurfaceSample& s = grid[static_cast<std::size_t>(i + 4 * j)];
            ExpectNear(s.position, {1.0f + 2.0f * i, 2.0f + 1.0f * j, 3.0f}, 1e-5f);
            ExpectNear(s.normal, {0, 0, 1}, 1e-6f);
        }
    }
    // Swapping the directions turns the normal round: it follows u x v, not a fixed side.
    SampleNetGrid(PlaneNet({0, 0, 0}, {0, 3, 0}, {6, 0, 0}), 2, grid);
    ASSERT_EQ(grid.size(), 9u);
    for (const SurfaceSample& s : grid) {
        ExpectNear(s.normal, {0, 0, -1}, 1e-6f);
    }
}

TEST(SurfaceSamplingTest, CornersAreTheNetsCornersInTheirPlaces) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-10.0f, 10.0f);
    BezierNet net;
    for (float& value : net.values) {
        value = coordinate(random);
    }
    std::vector<SurfaceSample> grid;
    SampleNetGrid(net, 4, grid);
    ASSERT_EQ(grid.size(), 25u);
    auto point = [&](int u, int v) {
        const PatchVec3 p = net.Point(u, v);
        return Vec3{p.x, p.y, p.z};
    };
    ExpectNear(grid[0].position, point(0, 0), 1e-5f);
    ExpectNear(grid[4].position, point(3, 0), 1e-5f);
    ExpectNear(grid[20].position, point(0, 3), 1e-5f);
    ExpectNear(grid[24].position, point(3, 3), 1e-5f);
}

TEST(SurfaceSamplingTest, InnerPointsAndNormalsAgreeWithDeCasteljau) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> coordinate(-5.0f, 5.0f);
    for (int trial = 0; trial < 50; ++trial) {
        BezierNet net;
        for (float& value : net.values) {
            value = coordinate(random);
        }
        const int steps = 1 + trial % 6;
        std::vector<SurfaceSample> grid;
        SampleNetGrid(net, steps, grid);
        ASSERT_EQ(grid.size(), static_cast<std::size_t>((steps + 1) * (steps + 1)));
        for (int j = 0; j <= steps; ++j) {
            for (int i = 0; i <= steps; ++i) {
                const double u = static_cast<double>(i) / steps;
                const double v = static_cast<double>(j) / steps;
                const SurfaceSample& s = grid[static_cast<std::size_t>(i + (steps + 1) * j)];
                ExpectNear(s.position, DeCasteljau(net, u, v), 1e-4f);
                // The normal's direction from central differences, away from the borders.
                if (i == 0 || j == 0 || i == steps || j == steps) {
                    continue;
                }
                const double h = 1e-3;
                const Vec3 du0 = DeCasteljau(net, u - h, v), du1 = DeCasteljau(net, u + h, v);
                const Vec3 dv0 = DeCasteljau(net, u, v - h), dv1 = DeCasteljau(net, u, v + h);
                const double a[3] = {du1.x - du0.x, du1.y - du0.y, du1.z - du0.z};
                const double b[3] = {dv1.x - dv0.x, dv1.y - dv0.y, dv1.z - dv0.z};
                const double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                                     a[0] * b[1] - a[1] * b[0]};
                const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
                if (length < 1e-9) {
                    continue;
                }
                const double cosine =
                    (n[0] * s.normal.x + n[1] * s.normal.y + n[2] * s.normal.z) / length;
                EXPECT_GT(cosine, 0.999) << "trial " << trial << " at " << i << ", " << j;
            }
        }
    }
}

TEST(SurfaceSamplingTest, ACollapsedNetHasZeroNormalsAndAStepCountBelowOneCountsAsOne) {
    BezierNet net;
    for (int v = 0; v < 4; ++v) {
        for (int u = 0; u < 4; ++u) {
            net.SetPoint(u, v, PatchVec3(2, -1, 4));
        }
    }
    std::vector<SurfaceSample> grid;
    for (int steps : {0, -3, 1}) {
        SampleNetGrid(net, steps, grid);
        ASSERT_EQ(grid.size(), 4u);
        for (const SurfaceSample& s : grid) {
            ExpectNear(s.position, {2, -1, 4}, 1e-6f);
            EXPECT_EQ(s.normal.x, 0.0f);
            EXPECT_EQ(s.normal.y, 0.0f);
            EXPECT_EQ(s.normal.z, 0.0f);
        }
    }
}

// Far from unit size the squared length of the cross product underflows or overflows a float;
// the normals stay those of an ordinary net. Where the derivatives themselves overflow, near the
// float limit, a normal is the zero vector rather than NaNs.
TEST(SurfaceSamplingTest, NormalsHoldAtEveryScaleAFloatHolds) {
    std::vector<SurfaceSample> grid;
    for (const float scale : {1e-30f, 1e-20f, 1e-12f, 1e12f, 1e20f, 1e30f, 1e37f}) {
        SCOPED_TRACE(scale);
        SampleNetGrid(PlaneNet({scale, 0, 0}, {6 * scale, 0, 0}, {0, 3 * scale, 0}), 3, grid);
        for (const SurfaceSample& s : grid) {
            ExpectNear(s.normal, {0, 0, 1}, 1e-6f);
        }
    }
    SampleNetGrid(PlaneNet({0, 0, 0}, {3e38f, 0, 0}, {0, 3e38f, 0}), 3, grid);
    int zero = 0;
    for (const SurfaceSample& s : grid) {
        if (s.normal.x == 0.0f && s.normal.y == 0.0f && s.normal.z == 0.0f) {
            ++zero;
        } else {
            ExpectNear(s.normal, {0, 0, 1}, 1e-6f);
        }
    }
    EXPECT_GT(zero, 0);
}

TEST(SurfaceSamplingTest, UnitByLargestScalesAnyFiniteVector) {
    const float infinity = std::numeric_limits<float>::infinity();
    const float tiniest = std::numeric_limits<float>::denorm_min();
    const float largest = std::numeric_limits<float>::max();
    const float half = std::sqrt(0.5f);
    struct Case {
        Vec3 in;
        Vec3 out;
    };
    const Case cases[] = {{{0, 0, 0}, {0, 0, 0}},
                          {{0, -tiniest, 0}, {0, -1, 0}},
                          {{1e-30f, 0, -1e-30f}, {half, 0, -half}},
                          {{largest, largest, 0}, {half, half, 0}},
                          {{3, 0, 4}, {0.6f, 0, 0.8f}},
                          {{infinity, 0, 0}, {0, 0, 0}},
                          {{std::nanf(""), 1, 0}, {0, 0, 0}}};
    for (const Case& test : cases) {
        SCOPED_TRACE(::testing::Message() << test.in.x << ", " << test.in.y << ", " << test.in.z);
        ExpectNear(UnitByLargest(test.in), test.out, 1e-6f);
    }
}

}  // namespace
}  // namespace korvane
