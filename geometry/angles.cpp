#include "geometry/angles.h"

#include <cmath>

namespace korvane {
namespace {

float RadiansToDegrees(float radians) { return radians * 180.0f / kPi; }

}  // namespace

float DegreesToRadians(float degrees) { return degrees / 180.0f * kPi; }

float HeadingDegrees(const Vec3& v) {
    if (v.x == 0.0f) {
        return v.z < 0.0f ? 180.0f : 0.0f;
    }
    if (v.z == 0.0f) {
        return v.x > 0.0f ? 90.0f : 270.0f;
    }
    const float radians = std::atan2(v.x, v.z);
    return RadiansToDegrees(radians);
}

float PitchDegrees(const Vec3& v) {
    if (v.y == 0.0f) {
        return 0.0f;
    }
    if (v.x == 0.0f && v.z == 0.0f) {
        return v.y > 0.0f ? -90.0f : 90.0f;
    }
    const float squared = v.x * v.x + v.z * v.z;
    const float horizontal = std::sqrt(squared);
    const float radians = std::atan(v.y / horizontal);
    return -RadiansToDegrees(radians);
}

}  // namespace korvane
