#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "document/object_store.h"
#include "geometry/angles.h"
#include "view/camera_framing.h"
#include "view/camera_navigation.h"
#include "view/depth_range.h"

namespace korvane {
namespace {

struct Projected {
    double x;  // normalised device coordinates: -1 ... 1 spans the image
    double y;
    double depth;  // distance in front of the eye along the viewing direction
};

struct Triple {
    double x, y, z;
};

Triple Minus(const Triple& a, const Triple& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double DotOf(const Triple& a, const Triple& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Triple CrossOf(const Triple& a, const Triple& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Triple Unit(const Triple& v) {
    const double length = std::sqrt(DotOf(v, v));
    return {v.x / length, v.y / length, v.z / length};
}
// Into the Z-mirrored world that the frame's look-at works in.
Triple Mirrored(const Vec3& v) {
    return {v.x, v.y, -static_cast<double>(v.z)};
}

// The frame's projection written out from the definitions of gluLookAt and gluPerspective.
Projected Project(const Camera& camera, int width, int height, const Vec3& point) {
    const Triple eye = Mirrored(camera.eye);
    const Triple forward = Unit(Minus(Mirrored(camera.target), eye));
    const Triple side = Unit(CrossOf(forward, Mirrored(UpVector(camera))));
    const Triple up = CrossOf(side, forward);
    const Triple relative = Minus(Mirrored(point), eye);
    const double depth = DotOf(relative, forward);
    const double focal = 1.0 / std::tan(camera.fieldOfView / 2.0 * std::numbers::pi / 180.0);
    const double aspect = static_cast<double>(width) / height;
    return {focal / aspect * DotOf(relative, side) / depth, focal * DotOf(relative, up) / depth,
            depth};
}

Bounds Box(Vec3 low, Vec3 high) {
    Bounds bounds;
    bounds.Include(low);
    bounds.Include(high);
    return bounds;
}

std::vector<Vec3> Corners(const Bounds& bounds) {
    std::vector<Vec3> corners;
    for (int i = 0; i < 8; ++i) {
        corners.push_back(Vec3{i & 1 ? bounds.maximum.x : bounds.minimum.x,
                               i & 2 ? bounds.maximum.y : bounds.minimum.y,
                               i & 4 ? bounds.maximum.z : bounds.minimum.z});
    }
    return corners;
}

Camera Looking(Vec3 eye, Vec3 target, float bank = 0.0f, float fieldOfView = 40.0f) {
    Camera camera;
    camera.eye = eye;
    camera.target = target;
    camera.bank = bank;
    camera.fieldOfView = fieldOfView;
    return camera;
}

struct FramingCase {
    const char* what;
    Camera camera;
    Bounds bounds;
    int width;
    int height;
    bool fills;  // false for a single point, which has no size to fill the image with
};

TEST(FrameBoundsTest, EveryCornerInsideTheImageFromTheSameDirection) {
    const FramingCase cases[] = {
        {"off-centre", Camera(), Box({100, -20, 300}, {130, 40, 310}), 640, 480, true},
        {"huge", Camera(), Box({-1500, -800, -1200}, {1500, 800, 1200}), 640, 480, true},
        {"tiny", Camera(), Box({5.001f, 5.001f, 5.001f}, {5.003f, 5.002f, 5.004f}), 640, 480, true},
        {"0.02 across", Camera(), Box({-0.01f, -0.01f, -0.01f}, {0.01f, 0.01f, 0.01f}), 640, 480,
         true},
        {"20,000 across, in centimetres", Camera(),
         Box({-10000, -4000, -10000}, {10000, 4000, 10000}), 640, 480, true},
        {"a planet", Camera(), Box({-6.4e8f, -6.4e8f, -6.4e8f}, {6.4e8f, 6.4e8f, 6.4e8f}), 640, 480,
         true},
        {"a thin rod along the view", Camera(), Box({0, 10, -40}, {0, 0, 0}), 640, 480, true},
        {"one point", Camera(), Box({3, 4, 5}, {3, 4, 5}), 640, 480, false},
        {"wide box, tall view", Camera(), Box({-50, 0, -2}, {50, 10, 2}), 200, 800, true},
        {"tall box, wide view", Camera(), Box({-1, -30, -1}, {1, 30, 1}), 1200, 300, true},
        {"turned and banked", Looking({25, -3, 7}, {1, 2, 3}, 30.0f),
         Box({-7, -2, 10}, {12, 9, 14}), 500, 500, true},
        {"straight down", Looking({0, 50, 0}, {0, 0, 0}), Box({-3, -1, -8}, {3, 1, 8}), 640, 480,
         true},
        {"narrow lens", Looking({0, 10, -40}, {0, 0, 0}, 0.0f, 5.0f), Box({-4, -4, -4}, {4, 4, 4}),
         640, 480, true},
        {"view without area", Camera(), Box({-4, 0, -4}, {4, 8, 4}), 0, 0, true},
    };
    for (const FramingCase& c : cases) {
        SCOPED_TRACE(c.what);
        Camera camera = c.camera;
        FrameBounds(camera, c.bounds, c.width, c.height);
        // A view without area is framed as a square one.
        const int width = c.width > 0 ? c.width : 1;
        const int height = c.height > 0 ? c.height : 1;

        const Vec3 before = Subtract(c.camera.target, c.camera.eye);
        const Vec3 after = Subtract(camera.target, camera.eye);
        // An eye a few thousandths from a target at 5 keeps its direction only to float steps.
        const double angleTolerance = Length(after) < 0.1f ? 1e-2 : 1e-3;
        EXPECT_NEAR(HeadingDegrees(after), HeadingDegrees(before), angleTolerance);
        EXPECT_NEAR(PitchDegrees(after), PitchDegrees(before), angleTolerance);
        EXPECT_EQ(camera.fieldOfView, c.camera.fieldOfView);
        EXPECT_EQ(camera.bank, c.camera.bank);
        const Vec3 centre = c.bounds.Centre();
        EXPECT_EQ(camera.target.x, centre.x);
        EXPECT_EQ(camera.target.y, centre.y);
        EXPECT_EQ(camera.target.z, centre.z);

        const DepthRange depth = DepthRangeFor(camera, c.bounds);
        double widest = 0.0;
        for (const Vec3& corner : Corners(c.bounds)) {
            const Projected p = Project(camera, width, height, corner);
            EXPECT_LE(std::abs(p.x), 0.99) << corner.x << " " << corner.y << " " << corner.z;
            EXPECT_LE(std::abs(p.y), 0.99) << corner.x << " " << corner.y << " " << corner.z;
            EXPECT_GE(p.depth, depth.nearPlane);
            EXPECT_LE(p.depth, depth.farPlane);
            widest = std::max({widest, std::abs(p.x), std::abs(p.y)});
        }
        if (c.fills) {
            EXPECT_GT(widest, 0.9) << "the box should fill the image";
        }
    }
}

TEST(FrameBoundsTest, EmptyOrUnusableBoundsLeaveTheCameraAlone) {
    Bounds tooLarge;
    constexpr float kMax = std::numeric_limits<float>::max();
    tooLarge.Include(Vec3{-kMax, -kMax, -kMax});
    tooLarge.Include(Vec3{kMax, kMax, kMax});
    for (const Bounds& bounds : {Bounds(), tooLarge}) {
        Camera camera = Looking({1, 2, 3}, {4, 5, 6});
        FrameBounds(camera, bounds, 640, 480);
        EXPECT_EQ(camera.eye.x, 1.0f);
        EXPECT_EQ(camera.eye.y, 2.0f);
        EXPECT_EQ(camera.eye.z, 3.0f);
        EXPECT_EQ(camera.target.x, 4.0f);
    }
}

TEST(FrameBoundsTest, EyeOnItsTargetLooksTheStartCamerasWay) {
    Camera camera = Looking({2, 2, 2}, {2, 2, 2});
    FrameBounds(camera, Box({-1, -1, -1}, {1, 1, 1}), 640, 480);
    const Vec3 start = Subtract(Camera().target, Camera().eye);
    const Vec3 viewing = Subtract(camera.target, camera.eye);
    EXPECT_GT(Length(viewing), 0.0f);
    EXPECT_NEAR(HeadingDegrees(viewing), HeadingDegrees(start), 1e-3);
    EXPECT_NEAR(PitchDegrees(viewing), PitchDegrees(start), 1e-3);
}

TEST(ControlPointBoundsTest, SpansEveryObjectAndSkipsNonFinitePoints) {
    ObjectStore store;
    EXPECT_TRUE(ControlPointBounds(store.objects).empty);
    store.AddObject();  // an object without points adds nothing
    EXPECT_TRUE(ControlPointBounds(store.objects).empty);

    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    PatchObject* first = store.AddObject();
    first->AddControlPoint({kNaN, 0, 0});
    first->AddControlPoint({0, kInf, 0});
    EXPECT_TRUE(ControlPointBounds(store.objects).empty) << "only non-finite points";

    first->AddControlPoint({1, -2, 3});
    PatchObject* second = store.AddObject();
    second->AddControlPoint({-4, 5, 0.5f});
    second->AddControlPoint({0, 0, -kInf});
    const Bounds bounds = ControlPointBounds(store.objects);
    ASSERT_FALSE(bounds.empty);
    EXPECT_EQ(bounds.minimum.x, -4.0f);
    EXPECT_EQ(bounds.minimum.y, -2.0f);
    EXPECT_EQ(bounds.minimum.z, 0.5f);
    EXPECT_EQ(bounds.maximum.x, 1.0f);
    EXPECT_EQ(bounds.maximum.y, 5.0f);
    EXPECT_EQ(bounds.maximum.z, 3.0f);
}

TEST(SetViewingDirectionTest, KeepsTargetAndDistance) {
    struct Case {
        float heading;
        float pitch;
    };
    for (const Case c : {Case{0, 14}, Case{90, 30}, Case{-135, -45}, Case{200, 0}, Case{45, 89}}) {
        Camera camera = Looking({3, 7, -20}, {1, 2, 3});
        const float distance = Length(Subtract(camera.eye, camera.target));
        SetViewingDirection(camera, c.heading, c.pitch);
        const Vec3 viewing = Subtract(camera.target, camera.eye);
        const float wrapped = std::remainder(HeadingDegrees(viewing) - c.heading, 360.0f);
        EXPECT_NEAR(wrapped, 0.0f, 1e-2) << c.heading;
        EXPECT_NEAR(PitchDegrees(viewing), c.pitch, 1e-2);
        EXPECT_NEAR(Length(viewing), distance, 1e-3);
        EXPECT_EQ(camera.target.x, 1.0f);
    }
    Camera steep;
    SetViewingDirection(steep, 0.0f, 120.0f);  // clamped: straight down
    EXPECT_NEAR(PitchDegrees(Subtract(steep.target, steep.eye)), 90.0f, 1e-3);
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

TEST(DepthRangeForTest, HoldsTheModelAndKeepsTheStandardPlanesWhereItFits) {
    struct Case {
        const char* what;
        Camera camera;
        Bounds model;
        bool standard;  // the planes of today, 1.5 and 10,000
    };
    const Camera start;
    const Case cases[] = {
        {"no model", start, Bounds(), true},
        {"a model of ordinary size", start, Box({-10, -10, -10}, {10, 10, 10}), true},
        {"20,000 across", Looking({0, 0, -60000}, {0, 0, 0}),
         Box({-10000, -10000, -10000}, {10000, 10000, 10000}), false},
        {"0.02 across", Looking({0, 0, -0.05f}, {0, 0, 0}),
         Box({-0.01f, -0.01f, -0.01f}, {0.01f, 0.01f, 0.01f}), false},
        {"the eye inside the model", start, Box({-500, -500, -50000}, {500, 500, 500}), false},
        {"just past the far plane", start, Box({-1, -1, 9990}, {1, 1, 10010}), false},
        {"wholly behind the eye", start, Box({-1, -1, -100}, {1, 1, -90}), true},
        {"the eye on its target", Looking({1, 2, 3}, {1, 2, 3}), Box({0, 0, 0}, {9, 9, 9}), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DepthRange range = DepthRangeFor(c.camera, c.model);
        if (c.standard) {
            EXPECT_EQ(range.nearPlane, kViewNearPlane);
            EXPECT_EQ(range.farPlane, kViewFarPlane);
            continue;
        }
        EXPECT_GT(range.nearPlane, 0.0);
        EXPECT_LE(range.farPlane / range.nearPlane, 1.0e5 * (1 + 1e-9));
        for (const Vec3& corner : Corners(c.model)) {
            const double depth = Project(c.camera, 640, 480, corner).depth;
            if (depth > 0.0) {
                EXPECT_LE(depth, range.farPlane);
                EXPECT_GE(depth, range.nearPlane) << "only a corner behind the eye may be cut";
            }
        }
    }
}

}  // namespace
}  // namespace korvane
