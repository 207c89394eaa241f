#include "geometry/matrix4.h"

#include <cmath>

#include "geometry/angles.h"

namespace korvane {
namespace {

struct SineCosine {
    float s;
    float c;
};

SineCosine SineCosineOfDegrees(float degrees) {
    const float radians = degrees * kRotationDegreeFactor;
    return {std::sin(radians), std::cos(radians)};
}

}  // namespace

void Matrix4::Identity() {
    m.fill(0.0f);
    m[0] = m[5] = m[10] = m[15] = 1.0f;
}

void Matrix4::RotateX(float degrees) {
    const auto [s, c] = SineCosineOfDegrees(degrees);
    Matrix4 r;
    r.m[5] = c;
    r.m[6] = s;
    r.m[9] = -s;
    r.m[10] = c;
    *this = Multiply(*this, r);
}

void Matrix4::RotateY(float degrees) {
    const auto [s, c] = SineCosineOfDegrees(degrees);
    Matrix4 r;
    r.m[0] = c;
    r.m[2] = -s;
    r.m[8] = s;
    r.m[10] = c;
    *this = Multiply(*this, r);
}

void Matrix4::RotateZ(float degrees) {
    const auto [s, c] = SineCosineOfDegrees(degrees);
    Matrix4 r;
    r.m[0] = c;
    r.m[1] = s;
    r.m[4] = -s;
    r.m[5] = c;
    *this = Multiply(*this, r);
}

void Matrix4::Translate(float tx, float ty, float tz) {
    Matrix4 t;
    t.m[12] = tx;
    t.m[13] = ty;
    t.m[14] = tz;
    *this = Multiply(*this, t);
}

Matrix4 Multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 product;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[4 * row + k] * b.m[4 * k + column];
            }
            product.m[4 * row + column] = sum;
        }
    }
    return product;
}

Vec3 TransformPoint(const Vec3& p, const Matrix4& matrix) {
    const auto& m = matrix.m;
    Vec3 r;
    r.x = m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12];
    r.y = m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13];
    r.z = m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14];
    return r;
}

}  // namespace korvane
