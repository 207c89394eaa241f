#include "geometry/vec3.h"

#include <cmath>

#include "geometry/angles.h"

namespace korvane {
namespace {

// One formula for both vector types; each result component is rounded to float.
template <class V>
V AddOf(const V& a, const V& b) {
    V r;
    r.Set(a.x + b.x, a.y + b.y, a.z + b.z);
    return r;
}
template <class V>
V SubtractOf(const V& a, const V& b) {
    V r;
    r.Set(a.x - b.x, a.y - b.y, a.z - b.z);
    return r;
}
template <class V>
V ScaleOf(const V& v, float s) {
    V r;
    r.Set(v.x * s, v.y * s, v.z * s);
    return r;
}
template <class V>
V DivideOf(const V& v, float s) {
    V r;
    r.Set(v.x / s, v.y / s, v.z / s);
    return r;
}
template <class V>
float DotOf(const V& a, const V& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
template <class V>
float LengthOf(const V& v) {
    const float squared = v.x * v.x + v.y * v.y + v.z * v.z;
    return std::sqrt(squared);
}

}  // namespace

Vec3 Add(const Vec3& a, const Vec3& b) { return AddOf(a, b); }
Vec3 Subtract(const Vec3& a, const Vec3& b) { return SubtractOf(a, b); }
Vec3 Scale(const Vec3& v, float s) { return ScaleOf(v, s); }
Vec3 Divide(const Vec3& v, float s) { return DivideOf(v, s); }
Vec3& AddInPlace(Vec3& v, const Vec3& w) { return v = AddOf(v, w); }
Vec3& ScaleInPlace(Vec3& v, float s) { return v = ScaleOf(v, s); }
float Dot(const Vec3& a, const Vec3& b) { return DotOf(a, b); }
float Length(const Vec3& v) { return LengthOf(v); }

PatchVec3 Add(const PatchVec3& a, const PatchVec3& b) { return AddOf(a, b); }
PatchVec3 Subtract(const PatchVec3& a, const PatchVec3& b) { return SubtractOf(a, b); }
PatchVec3 Scale(const PatchVec3& v, float s) { return ScaleOf(v, s); }
PatchVec3 Divide(const PatchVec3& v, float s) { return DivideOf(v, s); }
PatchVec3& AddInPlace(PatchVec3& v, const PatchVec3& w) {
    v.Set(v.x + w.x, v.y + w.y, v.z + w.z);
    return v;
}
PatchVec3& ScaleInPlace(PatchVec3& v, float s) {
    v.Set(v.x * s, v.y * s, v.z * s);
    return v;
}
float Dot(const PatchVec3& a, const PatchVec3& b) { return DotOf(a, b); }
float Length(const PatchVec3& v) { return LengthOf(v); }

float AngleBetween(const PatchVec3& a, const PatchVec3& b) {
    const float product = Length(b) * Length(a);
    if (product == 0.0f) {
        return 0.0f;
    }
    const float cosine = Dot(a, b) / product;
    // Rounding noise on parallel and opposite vectors stays out of acos.
    if (cosine >= 1.0f) {
        return 0.0f;
    }
    if (cosine > -1.0f) {
        return std::acos(cosine);
    }
    return kPi;
}

}  // namespace korvane
