#pragma once

#include "geometry/vec3.h"

namespace korvane {

// pi as every angle computation of the program uses it.
inline constexpr float kPi = 3.1415927f;
// Degree-to-radian factor of the matrix rotations.
inline constexpr float kRotationDegreeFactor = 0.017453292f;

// d / 180 x pi, in single precision.
float DegreesToRadians(float degrees);

// Heading of a direction about the Y axis in degrees, measured from +Z toward +X. The axis
// directions give exactly 0, 90, 180 and 270; other directions with negative x give negative values.
float HeadingDegrees(const Vec3& v);

// Elevation of a direction in degrees, positive when it points below the horizontal.
float PitchDegrees(const Vec3& v);

}  // namespace korvane
