#pragma once

#include <cmath>

// Three single-precision coordinates. Vec3 is the value of the mesh, modifiers and camera;
// PatchVec3 the same value in the patch network.
// Every operation rounds its result to float; none of them guards against a zero divisor.

namespace korvane {

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    void Set(float nx, float ny, float nz) {
        x = nx;
        y = ny;
        z = nz;
    }
    void Clear() { Set(0.0f, 0.0f, 0.0f); }
};

class PatchVec3 {
  public:
    PatchVec3() = default;
    PatchVec3(float nx, float ny, float nz) : x(nx), y(ny), z(nz) {}
    PatchVec3(const PatchVec3&) = default;
    PatchVec3& operator=(const PatchVec3&) = default;

    void Set(float nx, float ny, float nz) {
        x = nx;
        y = ny;
        z = nz;
    }

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

namespace vec3_detail {

// One formula for both vector types; each result component is rounded to float. Inline, as the
// patch stages call them millions of times on a big model.
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

}  // namespace vec3_detail

inline Vec3 Add(const Vec3& a, const Vec3& b) {
    return vec3_detail::AddOf(a, b);
}
inline Vec3 Subtract(const Vec3& a, const Vec3& b) {
    return vec3_detail::SubtractOf(a, b);
}
inline Vec3 Scale(const Vec3& v, float s) {
    return vec3_detail::ScaleOf(v, s);
}
inline Vec3 Divide(const Vec3& v, float s) {
    return vec3_detail::DivideOf(v, s);
}
inline Vec3& AddInPlace(Vec3& v, const Vec3& w) {
    return v = vec3_detail::AddOf(v, w);
}
inline Vec3& ScaleInPlace(Vec3& v, float s) {
    return v = vec3_detail::ScaleOf(v, s);
}
inline float Dot(const Vec3& a, const Vec3& b) {
    return vec3_detail::DotOf(a, b);
}
inline float Length(const Vec3& v) {
    return vec3_detail::LengthOf(v);
}

inline PatchVec3 Add(const PatchVec3& a, const PatchVec3& b) {
    return vec3_detail::AddOf(a, b);
}
inline PatchVec3 Subtract(const PatchVec3& a, const PatchVec3& b) {
    return vec3_detail::SubtractOf(a, b);
}
inline PatchVec3 Scale(const PatchVec3& v, float s) {
    return vec3_detail::ScaleOf(v, s);
}
inline PatchVec3 Divide(const PatchVec3& v, float s) {
    return vec3_detail::DivideOf(v, s);
}
inline PatchVec3& AddInPlace(PatchVec3& v, const PatchVec3& w) {
    v.Set(v.x + w.x, v.y + w.y, v.z + w.z);
    return v;
}
inline PatchVec3& ScaleInPlace(PatchVec3& v, float s) {
    v.Set(v.x * s, v.y * s, v.z * s);
    return v;
}
inline float Dot(const PatchVec3& a, const PatchVec3& b) {
    return vec3_detail::DotOf(a, b);
}
inline float Length(const PatchVec3& v) {
    return vec3_detail::LengthOf(v);
}

// Angle between a and b in radians, 0 ... pi; 0 when either is the zero vector.
float AngleBetween(const PatchVec3& a, const PatchVec3& b);
// The same from Length(a) and Length(b) computed beforehand, for one vector against many.
float AngleBetween(const PatchVec3& a, const PatchVec3& b, float lengthA, float lengthB);
// The two steps of that angle, for a search that compares cosines and turns few into angles: the
// cosine, from lengths whose product is not zero, and the angle of a cosine, which never grows as
// the cosine grows.
inline float CosineBetween(const PatchVec3& a, const PatchVec3& b, float lengthA, float lengthB) {
    return Dot(a, b) / (lengthB * lengthA);
}
float AngleOfCosine(float cosine);

}  // namespace korvane
