#include "view/camera_framing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "view/camera_navigation.h"

namespace korvane {
namespace {

// Room left around the model: its box fills at most 1/1.05 of the image's width or height. The
// curves between the points may bulge a little beyond their box.
constexpr double kMargin = 1.05;
// How far the box's nearest corner stays in front of the eye, as a share of its half diagonal.
constexpr double kNearestShare = 0.05;

struct Direction {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

Direction ToDirection(const Vec3& v) {
    return {v.x, v.y, v.z};
}

double Dot(const Direction& a, const Direction& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Direction Cross(const Direction& a, const Direction& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Unit length; false for a zero or non-finite vector.
bool Normalise(Direction& v) {
    const double length = std::sqrt(Dot(v, v));
    if (!(length > 0.0) || !std::isfinite(length)) {
        return false;
    }
    v = {v.x / length, v.y / length, v.z / length};
    return true;
}

bool IsFinite(const Vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

}  // namespace

void Bounds::Include(const Vec3& point) {
    if (!IsFinite(point)) {
        return;
    }
    if (empty) {
        minimum = maximum = point;
        empty = false;
        return;
    }
    minimum.Set(std::min(minimum.x, point.x), std::min(minimum.y, point.y),
                std::min(minimum.z, point.z));
    maximum.Set(std::max(maximum.x, point.x), std::max(maximum.y, point.y),
                std::max(maximum.z, point.z));
}

Vec3 Bounds::Centre() const {
    // Halved before adding, so that a box spanning the whole float range has a finite centre.
    Vec3 centre;
    centre.Set(minimum.x / 2.0f + maximum.x / 2.0f, minimum.y / 2.0f + maximum.y / 2.0f,
               minimum.z / 2.0f + maximum.z / 2.0f);
    return centre;
}

Bounds ControlPointBounds(const ObjectList<PatchObject>& objects) {
    Bounds bounds;
    for (const PatchObject* object : objects) {
        for (const PatchVec3& point : object->Points()) {
            bounds.Include(Vec3{point.x, point.y, point.z});
        }
    }
    return bounds;
}

void FrameBounds(Camera& camera, const Bounds& bounds, int width, int height) {
    const double tanVertical =
        std::tan(static_cast<double>(camera.fieldOfView) / 2.0 * std::numbers::pi / 180.0);
    if (bounds.empty || !(tanVertical > 0.0) || !std::isfinite(tanVertical)) {
        return;
    }
    const double aspect = width > 0 && height > 0 ? static_cast<double>(width) / height : 1.0;
    const double tanHorizontal = tanVertical * aspect;

    Camera aimed = camera;
    Direction forward = ToDirection(Subtract(camera.target, camera.eye));
    if (!Normalise(forward)) {
        const Camera start;
        aimed.eye = Subtract(camera.target, Subtract(start.target, start.eye));
        forward = ToDirection(Subtract(start.target, start.eye));
        Normalise(forward);
    }
    // The image's axes as the frame's look-at builds them: up made square to the viewing
    // direction, right across both.
    Direction up = ToDirection(UpVector(aimed));
    const double along = Dot(up, forward);
    up = {up.x - along * forward.x, up.y - along * forward.y, up.z - along * forward.z};
    if (!Normalise(up)) {
        return;
    }
    const Direction right = Cross(forward, up);

    // Each corner, relative to the centre, at camera-space (x, y) across the image and z along
    // the view, is inside the frustum with the margin once the eye is distance back from the
    // centre: |x| <= (distance + z) tanHorizontal / margin, and the same for |y| vertically.
    const Vec3 centre = bounds.Centre();
    // The nearest corner stays in front of the eye by a share of the box's size, so that a box
    // of any size is framed whole; a single point keeps today's distance.
    const Direction diagonal = {static_cast<double>(bounds.maximum.x) - bounds.minimum.x,
                                static_cast<double>(bounds.maximum.y) - bounds.minimum.y,
                                static_cast<double>(bounds.maximum.z) - bounds.minimum.z};
    const double halfDiagonal = 0.5 * std::sqrt(Dot(diagonal, diagonal));
    const double nearestDepth =
        halfDiagonal > 0.0 ? kNearestShare * halfDiagonal : kViewNearPlane * kMargin;
    double distance = 0.0;
    for (int corner = 0; corner < 8; ++corner) {
        const Direction offset = {
            static_cast<double>((corner & 1) != 0 ? bounds.maximum.x : bounds.minimum.x) - centre.x,
            static_cast<double>((corner & 2) != 0 ? bounds.maximum.y : bounds.minimum.y) - centre.y,
            static_cast<double>((corner & 4) != 0 ? bounds.maximum.z : bounds.minimum.z) -
                centre.z};
        const double x = Dot(offset, right);
        const double y = Dot(offset, up);
        const double z = Dot(offset, forward);
        distance = std::max({distance, std::abs(x) * kMargin / tanHorizontal - z,
                             std::abs(y) * kMargin / tanVertical - z, nearestDepth - z});
    }

    Vec3 eye;
    eye.Set(static_cast<float>(centre.x - forward.x * distance),
            static_cast<float>(centre.y - forward.y * distance),
            static_cast<float>(centre.z - forward.z * distance));
    if (!IsFinite(eye) || (eye.x == centre.x && eye.y == centre.y && eye.z == centre.z)) {
        return;
    }
    camera.eye = eye;
    camera.target = centre;
}

void SetViewingDirection(Camera& camera, float headingDegrees, float pitchDegrees) {
    const double distance = Length(Subtract(camera.eye, camera.target));
    if (!(distance > 0.0) || !std::isfinite(distance) || !std::isfinite(headingDegrees) ||
        !std::isfinite(pitchDegrees)) {
        return;
    }
    const double heading = static_cast<double>(headingDegrees) * std::numbers::pi / 180.0;
    const double pitch =
        std::clamp(static_cast<double>(pitchDegrees), -90.0, 90.0) * std::numbers::pi / 180.0;
    // The viewing direction target - eye; pitch positive points below the horizontal.
    const Direction forward = {std::cos(pitch) * std::sin(heading), -std::sin(pitch),
                               std::cos(pitch) * std::cos(heading)};
    camera.eye.Set(static_cast<float>(camera.target.x - forward.x * distance),
                   static_cast<float>(camera.target.y - forward.y * distance),
                   static_cast<float>(camera.target.z - forward.z * distance));
}

}  // namespace korvane
