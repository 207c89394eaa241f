#include "patch/curve_fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "patch/patch_builder.h"
#include "patch/tangent_planes.h"
#include "support/network_builder.h"

namespace korvane {
namespace {

bool Finite(const PatchVec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The normal of a plane, either way round.
void ExpectNormal(const PatchVec3& actual, const PatchVec3& expected) {
    const float sign = Dot(actual, expected) < 0.0f ? -1.0f : 1.0f;
    EXPECT_NEAR(sign * actual.x, expected.x, 1e-6f);
    EXPECT_NEAR(sign * actual.y, expected.y, 1e-6f);
    EXPECT_NEAR(sign * actual.z, expected.z, 1e-6f);
}

TEST(TangentPlanesTest, FitTheCurveTangentsAtEachPoint) {
    const float tilt = 10.0f * std::numbers::pi_v<float> / 180.0f;
    struct Case {
        const char* name;
        // Builds curves round point 0; the plane at point 0 is checked.
        std::function<void(testing::NetworkBuilder&)> build;
        PatchVec3 normal;  // zero: the point has no tangent; (1, 0, 0): any plane through x
        float residualDegrees;
    };
    const PatchVec3 anyThroughX(1, 0, 0);
    const Case cases[] = {
        // The curves' tangents, not the points, make the plane: the ends lie off it.
        {"two curves crossing straight through",
         [](testing::NetworkBuilder& b) {
             const int c = b.Point(0, 0, 0);
             b.Curve({b.Point(-1, 0, 0.3f), c, b.Point(1, 0, 0.3f)});
             b.Curve({b.Point(0, -1, -0.2f), c, b.Point(0, 1, -0.2f)});
         },
         {0, 0, 1},
         0.0f},
        {"two curves ending there, tilted out of the plane of a third",
         [&](testing::NetworkBuilder& b) {
             const int c = b.Point(0, 0, 0);
             b.Curve({b.Point(-1, 0, 0), c, b.Point(1, 0, 0)});
             b.Curve({b.Point(0, std::cos(tilt), std::sin(tilt)), c});
             b.Curve({b.Point(0, -std::cos(tilt), std::sin(tilt)), c});
         },
         {0, 0, 1},
         10.0f},
        {"one straight curve",
         [](testing::NetworkBuilder& b) {
             const int c = b.Point(0, 0, 0);
             b.Curve({b.Point(-1, 0, 0), c, b.Point(1, 0, 0)});
         },
         anyThroughX, 0.0f},
        {"no curve", [](testing::NetworkBuilder& b) { b.Point(0, 0, 0); }, {0, 0, 0}, 0.0f},
        {"a curve of zero length",
         [](testing::NetworkBuilder& b) {
             b.Curve({b.Point(0, 0, 0), b.Point(0, 0, 0)});
         },
         {0, 0, 0},
         0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PatchObject object;
        testing::NetworkBuilder builder(object);
        c.build(builder);
        ComputeHandles(object);
        const std::vector<TangentPlane> planes = FitTangentPlanes(object);
        ASSERT_EQ(planes.size(), object.Points().size());
        const TangentPlane& plane = planes[0];
        ASSERT_TRUE(Finite(plane.normal));
        EXPECT_NEAR(plane.residualDegrees, c.residualDegrees, 1e-4f);
        if (Length(c.normal) == 0.0f) {
            EXPECT_EQ(Length(plane.normal), 0.0f);
        } else if (c.normal.x == anyThroughX.x) {
            EXPECT_NEAR(Length(plane.normal), 1.0f, 1e-6f);
            EXPECT_NEAR(plane.normal.x, 0.0f, 1e-6f);
        } else {
            ExpectNormal(plane.normal, c.normal);
        }
    }
}

TEST(CurveFieldTest, RunsAcrossTheCurveInTheTangentPlanes) {
    const PatchVec3 up(0, 0, 1);
    const PatchVec3 down(0, 0, -1);
    const float root5 = std::sqrt(5.0f);
    struct Case {
        const char* name;
        std::array<PatchVec3, 4> curve;
        PatchVec3 startNormal, endNormal;
        PatchVec3 start, end;
    };
    const Case cases[] = {
        {"a straight curve",
         {{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}}},
         up,
         up,
         {0, 1, 0},
         {0, 1, 0}},
        // Normals the other way round at the far end: the field must not turn over halfway.
        {"normals either way round",
         {{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}}},
         up,
         down,
         {0, 1, 0},
         {0, 1, 0}},
        // A bend in the plane: each end across its own tangent.
        {"a quarter bend",
         {{{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {2, 2, 0}}},
         up,
         up,
         {0, 1, 0},
         {-1, 0, 0}},
        // A handle on its own point: the curve leaves towards the next control point.
        {"a handle on its point",
         {{{0, 0, 0}, {0, 0, 0}, {2, 1, 0}, {3, 0, 0}}},
         up,
         up,
         {-1 / root5, 2 / root5, 0},
         {1 / std::sqrt(2.0f), 1 / std::sqrt(2.0f), 0}},
        {"a curve of zero length",
         {{{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}}},
         up,
         up,
         {0, 0, 0},
         {0, 0, 0}},
        {"no tangent plane",
         {{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}}},
         {0, 0, 0},
         {0, 0, 0},
         {0, 0, 0},
         {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CurveField field = FieldAcross(c.curve, c.startNormal, c.endNormal);
        for (const auto& [actual, expected] :
             {std::pair{field.start, c.start}, std::pair{field.end, c.end}}) {
            EXPECT_NEAR(actual.x, expected.x, 1e-6f);
            EXPECT_NEAR(actual.y, expected.y, 1e-6f);
            EXPECT_NEAR(actual.z, expected.z, 1e-6f);
        }
        EXPECT_EQ(field.crease, CreaseReason::kNone);
    }
}

}  // namespace
}  // namespace korvane
