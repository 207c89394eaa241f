#pragma once

#include <cmath>

#include "geometry/vec3.h"

// Three double-precision coordinates, for the fits behind the smooth surfaces: their results are
// rounded to float once, at the end, rather than at every step.

namespace korvane {

struct DoubleVec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

inline DoubleVec3 Widen(const PatchVec3& p) {
    return {p.x, p.y, p.z};
}
inline PatchVec3 Narrow(const DoubleVec3& p) {
    return PatchVec3(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z));
}
inline DoubleVec3 operator+(const DoubleVec3& a, const DoubleVec3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline DoubleVec3 operator-(const DoubleVec3& a, const DoubleVec3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline DoubleVec3 operator-(const DoubleVec3& a) {
    return {-a.x, -a.y, -a.z};
}
inline DoubleVec3 operator*(double s, const DoubleVec3& v) {
    return {s * v.x, s * v.y, s * v.z};
}
inline double Dot(const DoubleVec3& a, const DoubleVec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline DoubleVec3 Cross(const DoubleVec3& a, const DoubleVec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline bool IsZero(const DoubleVec3& v) {
    return v.x == 0.0 && v.y == 0.0 && v.z == 0.0;
}

// v at unit length; the zero vector when v is zero or not finite. The largest component is
// divided out first so that no square underflows.
inline DoubleVec3 Unit(const DoubleVec3& v) {
    const double largest = std::fmax(std::fabs(v.x), std::fmax(std::fabs(v.y), std::fabs(v.z)));
    if (!(largest > 0.0) || !std::isfinite(largest)) {
        return {};
    }
    const DoubleVec3 scaled = (1.0 / largest) * v;
    return (1.0 / std::sqrt(Dot(scaled, scaled))) * scaled;
}

}  // namespace korvane
