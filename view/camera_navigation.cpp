#include "view/camera_navigation.h"

#include <algorithm>
#include <cmath>

#include "geometry/angles.h"
#include "geometry/matrix4.h"

namespace korvane {
namespace {

constexpr float kOrbitDegreesPerPixel = 0.1f;
constexpr float kOrbitSpeed = 5.0f;

// The wheel goes out no farther than this: beyond it the eye's float coordinates would lose the
// target's.
constexpr double kFarthestWheelDistance = 1.0e30;

// The wheel comes in no nearer than this: a few float steps of the target's coordinates, so that
// the eye never lands on the target, however small the model.
double NearestWheelDistance(const Vec3& target) {
    const double size =
        std::max({std::abs(static_cast<double>(target.x)), std::abs(static_cast<double>(target.y)),
                  std::abs(static_cast<double>(target.z)), 1.0e-30});
    return size * 1.0e-5;
}

// Camera-space x and y to the image's horizontal and vertical: bank, then the viewing direction.
Matrix4 ViewOrientation(const Camera& camera) {
    const Vec3 viewing = Subtract(camera.target, camera.eye);
    Matrix4 orientation;
    orientation.RotateZ(camera.bank);
    orientation.RotateX(PitchDegrees(viewing));
    orientation.RotateY(HeadingDegrees(viewing));
    return orientation;
}

}  // namespace

Vec3 UpVector(const Camera& camera) {
    return TransformPoint(Vec3{0.0f, 1.0f, 0.0f}, ViewOrientation(camera));
}

Vec3 PixelsToWorld(const Camera& camera, float px, float py, float distance, int width,
                   int height) {
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    if (w == 0.0f || h == 0.0f || distance == 0.0f) {
        return Vec3{};
    }
    const float halfHeight = std::tan(DegreesToRadians(camera.fieldOfView / 2.0f)) * distance;
    const float halfWidth = halfHeight * (w / h);
    return Vec3{px * (2.0f * halfWidth) / w, py * (2.0f * halfHeight) / h, 0.0f};
}

void OrbitCamera(Camera& camera, int dx, int dy) {
    const Vec3 fromTarget = Subtract(camera.eye, camera.target);
    const float heading = HeadingDegrees(fromTarget);
    const float pitch = PitchDegrees(fromTarget);

    float newPitch = static_cast<float>(dy) * kOrbitDegreesPerPixel * kOrbitSpeed + pitch;
    if (newPitch > 90.0f) {
        newPitch = 90.0f;
    }
    if (newPitch < -90.0f) {
        newPitch = -90.0f;
    }
    const float newHeading = static_cast<float>(dx) * kOrbitDegreesPerPixel * kOrbitSpeed + heading;

    Matrix4 orbit;
    orbit.Translate(-camera.target.x, -camera.target.y, -camera.target.z);
    orbit.RotateY(-heading);
    orbit.RotateX(-pitch);
    orbit.RotateX(newPitch);
    orbit.RotateY(newHeading);
    orbit.Translate(camera.target.x, camera.target.y, camera.target.z);
    camera.eye = TransformPoint(camera.eye, orbit);
}

void PanCamera(Camera& camera, int dx, int dy, int width, int height) {
    const float distance = Length(Subtract(camera.eye, camera.target));
    Vec3 delta = PixelsToWorld(camera, static_cast<float>(dx), static_cast<float>(dy), distance,
                               width, height);
    ScaleInPlace(delta, -1.0f);
    delta = TransformPoint(delta, ViewOrientation(camera));
    AddInPlace(camera.eye, delta);
    AddInPlace(camera.target, delta);
}

void ZoomCamera(Camera& camera, int dx, int dy) {
    const Vec3 fromTarget = Subtract(camera.eye, camera.target);
    const float factor = static_cast<float>(dx) * 0.001f + 1.0f + static_cast<float>(dy) * 0.005f;
    camera.eye = Add(camera.target, Scale(fromTarget, factor));
}

void WheelZoomCamera(Camera& camera, int angleDelta, float perNotch) {
    if (angleDelta == 0 || !(perNotch > 0.0f && perNotch < 1.0f)) {
        return;
    }
    // In double, so that a far eye's squared distance cannot overflow.
    const double dx = static_cast<double>(camera.eye.x) - camera.target.x;
    const double dy = static_cast<double>(camera.eye.y) - camera.target.y;
    const double dz = static_cast<double>(camera.eye.z) - camera.target.z;
    const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (!(distance > 0.0) || !std::isfinite(distance)) {
        return;
    }
    double wanted = distance * std::pow(static_cast<double>(perNotch),
                                        static_cast<double>(angleDelta) / kWheelNotch);
    if (angleDelta > 0) {
        wanted = std::max(wanted, std::min(distance, NearestWheelDistance(camera.target)));
    } else {
        wanted = std::min(wanted, std::max(distance, kFarthestWheelDistance));
    }
    const double scale = wanted / distance;
    Vec3 eye;
    eye.Set(static_cast<float>(camera.target.x + dx * scale),
            static_cast<float>(camera.target.y + dy * scale),
            static_cast<float>(camera.target.z + dz * scale));
    const bool onTarget =
        eye.x == camera.target.x && eye.y == camera.target.y && eye.z == camera.target.z;
    if (std::isfinite(eye.x) && std::isfinite(eye.y) && std::isfinite(eye.z) && !onTarget) {
        camera.eye = eye;
    }
}

}  // namespace korvane
