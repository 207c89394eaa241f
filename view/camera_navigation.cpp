#include "view/camera_navigation.h"

#include <cmath>

#include "geometry/angles.h"
#include "geometry/matrix4.h"

namespace korvane {
namespace {

constexpr float kOrbitDegreesPerPixel = 0.1f;
constexpr float kOrbitSpeed = 5.0f;

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

}  // namespace korvane
