#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/angles.h"
#include "view/camera_navigation.h"

namespace korvane {
namespace {

constexpr float kTolerance = 1e-3f;

float Distance(const Camera& camera) {
    return Length(Subtract(camera.eye, camera.target));
}

void ExpectNear(const Vec3& actual, float x, float y, float z, float tolerance = kTolerance) {
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
    EXPECT_NEAR(actual.z, z, tolerance);
}

TEST(CameraTest, DefaultLooksDownOntoTheOriginFromTheFront) {
    const Camera camera;
    const Vec3 viewing = Subtract(camera.target, camera.eye);
    EXPECT_FLOAT_EQ(HeadingDegrees(viewing), 0.0f);
    EXPECT_NEAR(PitchDegrees(viewing), 14.04f, 0.01f);
    ExpectNear(UpVector(camera), 0.0f, 0.970f, 0.243f);
    EXPECT_FLOAT_EQ(camera.fieldOfView, 40.0f);
    EXPECT_FLOAT_EQ(camera.bank, 0.0f);
}

TEST(CameraTest, ResetRestoresEveryDefault) {
    Camera camera;
    camera.eye = Vec3{1, 2, 3};
    camera.target = Vec3{4, 5, 6};
    camera.fieldOfView = 10.0f;
    camera.bank = 30.0f;
    ResetCamera(camera);
    ExpectNear(camera.eye, 0, 10, -40, 0.0f);
    ExpectNear(camera.target, 0, 0, 0, 0.0f);
    EXPECT_EQ(camera.fieldOfView, 40.0f);
    EXPECT_EQ(camera.bank, 0.0f);
}

TEST(CameraTest, UpVectorIsAUnitVectorAcrossTheViewingDirection) {
    for (const Vec3 eye : {Vec3{0, 10, -40}, Vec3{25, -3, 7}, Vec3{-8, 30, 2}, Vec3{3, 0, 0}}) {
        Camera camera;
        camera.eye = eye;
        camera.target = Vec3{1, 2, 3};
        const Vec3 up = UpVector(camera);
        const Vec3 viewing = Subtract(camera.target, camera.eye);
        EXPECT_NEAR(Length(up), 1.0f, kTolerance);
        EXPECT_NEAR(Dot(up, viewing) / Length(viewing), 0.0f, kTolerance);
        EXPECT_GT(up.y, 0.0f) << "the image's top stays on the upper side";
    }
}

TEST(CameraTest, PixelsToWorldCoversTheFieldOfViewAtTheDistance) {
    const Camera camera;
    const float perPixel = 2.0f * 10.0f * std::tan(DegreesToRadians(20.0f)) / 100.0f;
    ExpectNear(PixelsToWorld(camera, 1.0f, 0.0f, 10.0f, 300, 100), perPixel, 0.0f, 0.0f, 1e-6f);
    ExpectNear(PixelsToWorld(camera, 0.0f, -3.0f, 10.0f, 300, 100), 0.0f, -3.0f * perPixel, 0.0f,
               1e-6f);
}

TEST(CameraTest, PixelsToWorldIsZeroWithoutAreaOrDistance) {
    const Camera camera;
    ExpectNear(PixelsToWorld(camera, 5, 5, 10, 300, 0), 0, 0, 0, 0.0f);
    ExpectNear(PixelsToWorld(camera, 5, 5, 10, 0, 200), 0, 0, 0, 0.0f);
    ExpectNear(PixelsToWorld(camera, 5, 5, 0, 300, 200), 0, 0, 0, 0.0f);
}

TEST(OrbitCameraTest, PitchIsClampedStraightBelowTheTarget) {
    Camera camera;
    const float distance = Distance(camera);
    EXPECT_NEAR(distance, 41.23f, 0.01f);
    OrbitCamera(camera, 0, 400);
    ExpectNear(camera.eye, 0.0f, -distance, 0.0f, 0.01f);
    ExpectNear(camera.target, 0, 0, 0, 0.0f);
    EXPECT_NEAR(Distance(camera), distance, 0.01f);

    OrbitCamera(camera, 0, 400);  // a second step stays at the clamp
    ExpectNear(camera.eye, 0.0f, -distance, 0.0f, 0.01f);
}

TEST(OrbitCameraTest, HalfADegreePerPixelAboutTheTarget) {
    Camera camera;
    camera.target = Vec3{2, 1, -1};
    camera.eye = Vec3{2, 1, -21};
    OrbitCamera(camera, 180, 0);  // 90 degrees to the right
    ExpectNear(camera.eye, -18.0f, 1.0f, -1.0f, 0.01f);
    ExpectNear(camera.target, 2, 1, -1, 0.0f);

    OrbitCamera(camera, 0, -60);  // mouse down 60 pixels: 30 degrees above the target
    const Vec3 fromTarget = Subtract(camera.eye, camera.target);
    EXPECT_NEAR(PitchDegrees(fromTarget), -30.0f, 0.01f);
    EXPECT_NEAR(Length(fromTarget), 20.0f, 0.01f);
}

TEST(ZoomCameraTest, FactorBelowZeroCrossesTheTarget) {
    Camera camera;
    ZoomCamera(camera, 0, -300);  // factor -0.5
    ExpectNear(camera.eye, 0.0f, -5.0f, 20.0f);
    ExpectNear(camera.target, 0, 0, 0, 0.0f);
}

TEST(ZoomCameraTest, UpAndRightMoveAwayVerticalCountsFiveTimes) {
    Camera camera;
    ZoomCamera(camera, 100, 0);  // factor 1.1
    ExpectNear(camera.eye, 0.0f, 11.0f, -44.0f);
    Camera other;
    ZoomCamera(other, 0, -20);  // factor 0.9
    ExpectNear(other.eye, 0.0f, 9.0f, -36.0f);
}

// The eye's offset from the target: its length and its direction as a unit vector.
struct Offset {
    float distance;
    Vec3 direction;
};

Offset OffsetOf(const Camera& camera) {
    const Vec3 fromTarget = Subtract(camera.eye, camera.target);
    const float distance = Length(fromTarget);
    return {distance, Scale(fromTarget, 1.0f / distance)};
}

TEST(WheelZoomCameraTest, NotchesScaleTheDistanceAndStepsBackUndoThem) {
    struct Case {
        int angleDelta;
        float perNotch;
        float factor;  // distance after / before
    };
    const Case cases[] = {
        {120, 0.5f, 0.5f},
        {-120, 0.5f, 2.0f},
        {240, 0.5f, 0.25f},
        {60, 0.25f, 0.5f},
        {1, 0.5f, std::pow(0.5f, 1.0f / 120.0f)},
        {-360, 0.8f, 1.953125f},
        {120, kWheelZoomPerNotch, kWheelZoomPerNotch},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angleDelta);
        Camera camera;
        camera.target = Vec3{3, -2, 5};
        camera.eye = Vec3{-9, 14, -30};
        const Offset before = OffsetOf(camera);
        WheelZoomCamera(camera, c.angleDelta, c.perNotch);
        const Offset stepped = OffsetOf(camera);
        EXPECT_NEAR(stepped.distance, before.distance * c.factor, 1e-5f * before.distance);
        ExpectNear(stepped.direction, before.direction.x, before.direction.y, before.direction.z,
                   1e-5f);
        ExpectNear(camera.target, 3, -2, 5, 0.0f);

        WheelZoomCamera(camera, -c.angleDelta, c.perNotch);
        ExpectNear(camera.eye, -9, 14, -30, 1e-4f);
    }
}

TEST(WheelZoomCameraTest, ReachesAnySizeButNeverTheTarget) {
    struct Case {
        float distance;
        int angleDelta;
        float expected;
    };
    // The target (1, 1, 1) is a few float steps wide at 1e-5.
    const float nearest = 1.0e-5f;
    const Case cases[] = {
        {2.0f, 1200, 2.0f * std::pow(kWheelZoomPerNotch, 10.0f)},        // past the old near plane
        {0.05f, 120 * 20, 0.05f * std::pow(kWheelZoomPerNotch, 20.0f)},  // a model 0.02 across
        {2.0f, std::numeric_limits<int>::max(), nearest},
        {1.0e-6f, 120, 1.0e-6f},                        // already nearer: it does not go on
        {1.0e-6f, -120, 1.0e-6f / kWheelZoomPerNotch},  // but it can back out
        {9000.0f, -1200, 9000.0f / std::pow(kWheelZoomPerNotch, 10.0f)},  // past the old far plane
        {9000.0f, std::numeric_limits<int>::min(), 1.0e30f},
        {2.0e30f, -120, 2.0e30f},  // already beyond the farthest
        {2.0e30f, 120, 2.0e30f * kWheelZoomPerNotch},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.distance << " " << c.angleDelta);
        Camera camera;
        camera.target = Vec3{1, 1, 1};
        camera.eye = Vec3{1, 1, 1 - c.distance};
        WheelZoomCamera(camera, c.angleDelta);
        const double distance = static_cast<double>(camera.target.z) - camera.eye.z;
        // Near the target the eye's coordinates are floats about 1: within two of their steps.
        EXPECT_NEAR(distance, c.expected, 1e-2 * c.expected + 2.4e-7);
        EXPECT_EQ(camera.eye.x, 1.0f);
        EXPECT_EQ(camera.eye.y, 1.0f);
        ExpectNear(camera.target, 1, 1, 1, 0.0f);
    }
}

TEST(WheelZoomCameraTest, UnusableStepsChangeNothing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const float perNotch : {0.0f, 1.0f, 1.5f, -0.5f, nan}) {
        Camera camera;
        WheelZoomCamera(camera, 120, perNotch);
        ExpectNear(camera.eye, 0, 10, -40, 0.0f);
    }
    Camera still;
    WheelZoomCamera(still, 0);
    ExpectNear(still.eye, 0, 10, -40, 0.0f);

    Camera onTarget;
    onTarget.eye = onTarget.target;
    for (const int angleDelta : {120, -120}) {
        WheelZoomCamera(onTarget, angleDelta);
        ExpectNear(onTarget.eye, 0, 0, 0, 0.0f);
    }
}

TEST(PanCameraTest, ZeroHeightViewMovesNothing) {
    Camera camera;
    PanCamera(camera, 30, -12, 640, 0);
    ExpectNear(camera.eye, 0, 10, -40, 0.0f);
    ExpectNear(camera.target, 0, 0, 0, 0.0f);
}

TEST(PanCameraTest, EyeAndTargetMoveTogetherAcrossTheView) {
    Camera camera;
    const int height = 400;
    PanCamera(camera, 10, 0, 600, height);  // mouse to the right: the model follows, camera left
    const Vec3 moved = camera.target;
    const float expected =
        10.0f * 2.0f * Length(Vec3{0, 10, -40}) * std::tan(DegreesToRadians(20.0f)) / height;
    ExpectNear(moved, -expected, 0.0f, 0.0f);
    ExpectNear(Subtract(camera.eye, camera.target), 0, 10, -40);

    Camera up;
    PanCamera(up, 0, 10, 600, height);  // mouse up: the camera moves down along the image's up
    const Vec3 delta = up.target;
    const Vec3 imageUp = UpVector(Camera());
    EXPECT_NEAR(Dot(delta, imageUp), -expected, kTolerance);
    EXPECT_NEAR(Length(delta), expected, kTolerance);
}

}  // namespace
}  // namespace korvane
