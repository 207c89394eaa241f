#include <gtest/gtest.h>

#include <cmath>

#include "geometry/angles.h"
#include "geometry/vec3.h"

namespace korvane {
namespace {

Vec3 V(float x, float y, float z) {
    return Vec3{x, y, z};
}

TEST(AngleHelpers, HeadingOfAxisDirectionsIsExact) {
    EXPECT_EQ(HeadingDegrees(V(0, 5, 0)), 0.0f);
    EXPECT_EQ(HeadingDegrees(V(0, 0, 0)), 0.0f);
    EXPECT_EQ(HeadingDegrees(V(0, 0, -1)), 180.0f);
    EXPECT_EQ(HeadingDegrees(V(0, 0, 1)), 0.0f);
    EXPECT_EQ(HeadingDegrees(V(1, 0, 0)), 90.0f);
    EXPECT_EQ(HeadingDegrees(V(-1, 0, 0)), 270.0f);
}

TEST(AngleHelpers, HeadingOfOtherDirectionsFollowsAtan2) {
    EXPECT_FLOAT_EQ(HeadingDegrees(V(-1, 0, -1)), -135.0f);
    EXPECT_FLOAT_EQ(HeadingDegrees(V(1, 7, 1)), 45.0f);
    // The float result of atan2 scaled by 180 / 3.1415927, nothing computed in double.
    const float expected = std::atan2(-1.0f, -1.0f) * 180.0f / 3.1415927f;
    EXPECT_EQ(HeadingDegrees(V(-1, 0, -1)), expected);
}

TEST(AngleHelpers, PitchIsPositiveBelowTheHorizontal) {
    EXPECT_EQ(PitchDegrees(V(3, 0, 4)), 0.0f);
    EXPECT_EQ(PitchDegrees(V(0, 2, 0)), -90.0f);
    EXPECT_EQ(PitchDegrees(V(0, -2, 0)), 90.0f);
    EXPECT_FLOAT_EQ(PitchDegrees(V(0, -1, 1)), 45.0f);
    EXPECT_FLOAT_EQ(PitchDegrees(V(3, 4, 0)), -53.130102f);
}

TEST(AngleHelpers, DegreesToRadiansUsesTheFloatPi) {
    EXPECT_EQ(DegreesToRadians(180.0f), 3.1415927f);
    EXPECT_EQ(DegreesToRadians(150.0f), 150.0f / 180.0f * 3.1415927f);
    EXPECT_EQ(DegreesToRadians(0.0f), 0.0f);
}

TEST(VectorArithmetic, LengthAndBasicOperations) {
    EXPECT_EQ(Length(V(3, 4, 0)), 5.0f);
    EXPECT_EQ(Length(V(0, 0, 0)), 0.0f);
    EXPECT_EQ(Length(PatchVec3(0, 3, 4)), 5.0f);

    const Vec3 sum = Add(V(1, 2, 3), V(4, 5, 6));
    EXPECT_EQ(sum.x, 5.0f);
    EXPECT_EQ(sum.y, 7.0f);
    EXPECT_EQ(sum.z, 9.0f);
    const PatchVec3 difference = Subtract(PatchVec3(1, 2, 3), PatchVec3(4, 6, 8));
    EXPECT_EQ(difference.x, -3.0f);
    EXPECT_EQ(difference.y, -4.0f);
    EXPECT_EQ(difference.z, -5.0f);
    const PatchVec3 half = Divide(PatchVec3(1, 2, 3), 2.0f);
    EXPECT_EQ(half.z, 1.5f);

    Vec3 v = V(1, 1, 1);
    AddInPlace(ScaleInPlace(v, 2.0f), V(1, 0, -1));
    EXPECT_EQ(v.x, 3.0f);
    EXPECT_EQ(v.z, 1.0f);
    EXPECT_EQ(Dot(PatchVec3(1, 2, 3), PatchVec3(4, -5, 6)), 12.0f);
}

TEST(VectorArithmetic, AngleBetweenClampsParallelOppositeAndZero) {
    const PatchVec3 a(0.3f, -1.7f, 2.9f);
    EXPECT_EQ(AngleBetween(a, a), 0.0f);
    EXPECT_EQ(AngleBetween(a, Scale(a, -1.0f)), 3.1415927f);
    EXPECT_EQ(AngleBetween(a, PatchVec3()), 0.0f);
    EXPECT_EQ(AngleBetween(PatchVec3(), a), 0.0f);
    EXPECT_FLOAT_EQ(AngleBetween(PatchVec3(1, 0, 0), PatchVec3(0, 2, 0)), 3.1415927f / 2.0f);
    // Rounding must never push a near-parallel pair out of acos's domain.
    const PatchVec3 b(0.1f, 0.1f, 0.1f);
    EXPECT_FALSE(std::isnan(AngleBetween(b, Scale(b, 3.0f))));
    EXPECT_FALSE(std::isnan(AngleBetween(b, Scale(b, -7.0f))));
}

// The angle is the correctly rounded arc cosine of the float cosine, on every C library: checked
// on every float cosine near the limits people type (a 12-sided ring's corner is 150 degrees).
TEST(VectorArithmetic, AngleBetweenIsTheCorrectlyRoundedArcCosine) {
    constexpr int kFloatsEachSide = 40000;
    for (const double degrees : {90.0, 120.0, 135.0, 150.0, 160.0, 170.0, 179.0, 30.0}) {
        float cosine = static_cast<float>(std::cos(degrees * 3.14159265358979323846 / 180.0));
        for (int i = 0; i < kFloatsEachSide; ++i) {
            cosine = std::nextafter(cosine, -2.0f);
        }
        int mismatches = 0;
        for (int i = 0; i < 2 * kFloatsEachSide && cosine < 1.0f;
             ++i, cosine = std::nextafter(cosine, 2.0f)) {
            if (cosine <= -1.0f) {
                continue;  // outside acos's domain: the clamp above
            }
            // Unit lengths given: the cosine the function sees is exactly `cosine`.
            const float angle = AngleBetween(PatchVec3(1, 0, 0), PatchVec3(cosine, 0.5f, 0), 1, 1);
            const auto reference = static_cast<float>(std::acos(static_cast<long double>(cosine)));
            mismatches += angle != reference ? 1 : 0;
        }
        EXPECT_EQ(mismatches, 0) << "near " << degrees << " degrees";
    }
}

}  // namespace
}  // namespace korvane
