#include <gtest/gtest.h>

#include "geometry/angles.h"
#include "geometry/matrix4.h"

namespace korvane {
namespace {

constexpr float kTolerance = 1e-5f;

void ExpectNear(const Vec3& actual, float x, float y, float z) {
    EXPECT_NEAR(actual.x, x, kTolerance);
    EXPECT_NEAR(actual.y, y, kTolerance);
    EXPECT_NEAR(actual.z, z, kTolerance);
}

TEST(Matrix4Test, NewMatrixIsIdentity) {
    const Matrix4 m;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(m.m[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
    }
}

TEST(Matrix4Test, RotationsAreRightHanded) {
    Matrix4 z;
    z.RotateZ(90);
    ExpectNear(TransformPoint(Vec3{1, 0, 0}, z), 0, 1, 0);
    Matrix4 x;
    x.RotateX(90);
    ExpectNear(TransformPoint(Vec3{0, 1, 0}, x), 0, 0, 1);
    Matrix4 y;
    y.RotateY(90);
    ExpectNear(TransformPoint(Vec3{0, 0, 1}, y), 1, 0, 0);
}

TEST(Matrix4Test, CallsApplyInCallOrder) {
    Matrix4 m;
    m.Identity();
    m.Translate(1, 2, 3);
    m.RotateZ(90);
    // Translation first: (2, 2, 3), then the quarter turn about Z.
    ExpectNear(TransformPoint(Vec3{1, 0, 0}, m), -2, 2, 3);

    Matrix4 reversed;
    reversed.RotateZ(90);
    reversed.Translate(1, 2, 3);
    ExpectNear(TransformPoint(Vec3{1, 0, 0}, reversed), 1, 3, 3);
}

TEST(Matrix4Test, OppositeRotationsCancel) {
    Matrix4 m;
    m.RotateY(30);
    m.RotateY(-30);
    ExpectNear(TransformPoint(Vec3{0.5f, -2, 7}, m), 0.5f, -2, 7);
}

TEST(Matrix4Test, MultiplyIsRowByColumn) {
    Matrix4 a;
    Matrix4 b;
    for (int i = 0; i < 16; ++i) {
        a.m[i] = static_cast<float>(i + 1);
        b.m[i] = static_cast<float>(16 - i);
    }
    const Matrix4 p = Multiply(a, b);
    // Row 0 of A is 1 2 3 4, column 1 of B is 15 11 7 3.
    EXPECT_EQ(p.m[1], 1 * 15 + 2 * 11 + 3 * 7 + 4 * 3);
    // Row 3 of A is 13 14 15 16, column 2 of B is 14 10 6 2.
    EXPECT_EQ(p.m[14], 13 * 14 + 14 * 10 + 15 * 6 + 16 * 2);
}

TEST(Matrix4Test, HeadingAndPitchInvertTheRotations) {
    const Vec3 directions[] = {{1, 2, 3}, {-4, -1, 2}, {0.5f, 3, -7}, {-2, -2, -2}};
    for (const Vec3& d : directions) {
        const float heading = HeadingDegrees(d);
        const float pitch = PitchDegrees(d);
        Matrix4 undo;
        undo.RotateY(-heading);
        undo.RotateX(-pitch);
        const Vec3 aligned = TransformPoint(d, undo);
        EXPECT_NEAR(aligned.x, 0.0f, 1e-4f);
        EXPECT_NEAR(aligned.y, 0.0f, 1e-4f);
        EXPECT_NEAR(aligned.z, Length(d), 1e-4f);

        Matrix4 redo;
        redo.RotateX(pitch);
        redo.RotateY(heading);
        const Vec3 rebuilt = TransformPoint(Vec3{0, 0, Length(d)}, redo);
        EXPECT_NEAR(rebuilt.x, d.x, 1e-4f);
        EXPECT_NEAR(rebuilt.y, d.y, 1e-4f);
        EXPECT_NEAR(rebuilt.z, d.z, 1e-4f);
    }
}

}  // namespace
}  // namespace korvane
