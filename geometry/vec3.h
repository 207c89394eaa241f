#pragma once

// Three single-precision coordinates. Vec3 is the plain value of the mesh, modifiers and camera;
// PatchVec3 is the same value as a polymorphic base, so that patch records can derive from it.
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
    virtual ~PatchVec3() = default;

    void Set(float nx, float ny, float nz) {
        x = nx;
        y = ny;
        z = nz;
    }

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

Vec3 Add(const Vec3& a, const Vec3& b);
Vec3 Subtract(const Vec3& a, const Vec3& b);
Vec3 Scale(const Vec3& v, float s);
Vec3 Divide(const Vec3& v, float s);
Vec3& AddInPlace(Vec3& v, const Vec3& w);
Vec3& ScaleInPlace(Vec3& v, float s);
float Dot(const Vec3& a, const Vec3& b);
float Length(const Vec3& v);

PatchVec3 Add(const PatchVec3& a, const PatchVec3& b);
PatchVec3 Subtract(const PatchVec3& a, const PatchVec3& b);
PatchVec3 Scale(const PatchVec3& v, float s);
PatchVec3 Divide(const PatchVec3& v, float s);
PatchVec3& AddInPlace(PatchVec3& v, const PatchVec3& w);
PatchVec3& ScaleInPlace(PatchVec3& v, float s);
float Dot(const PatchVec3& a, const PatchVec3& b);
float Length(const PatchVec3& v);

// Angle between a and b in radians, 0 ... pi; 0 when either is the zero vector.
float AngleBetween(const PatchVec3& a, const PatchVec3& b);

}  // namespace korvane
