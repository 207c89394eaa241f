#pragma once

#include <array>

#include "geometry/vec3.h"

namespace korvane {

// Row-vector convention: a point p = (x, y, z, 1) is transformed as p * M, translation in
// m[12..14]. Element of row r, column c at index 4r + c. Rotations and translations
// post-multiply, so a sequence of calls applies its transforms in call order.
class Matrix4 {
public:
    Matrix4() { Identity(); }
    Matrix4(const Matrix4&) = default;
    Matrix4& operator=(const Matrix4&) = default;
    virtual ~Matrix4() = default;

    void Identity();
    void RotateX(float degrees);
    void RotateY(float degrees);
    void RotateZ(float degrees);
    void Translate(float tx, float ty, float tz);

    std::array<float, 16> m{};
};

// A * B, each element accumulated over k = 0, 1, 2, 3 in that order.
Matrix4 Multiply(const Matrix4& a, const Matrix4& b);

// p * M without division by w.
Vec3 TransformPoint(const Vec3& p, const Matrix4& matrix);

}  // namespace korvane
