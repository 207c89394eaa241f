#include "geometry/vec3.h"

#include <cmath>

#include "geometry/angles.h"

namespace korvane {

float AngleBetween(const PatchVec3& a, const PatchVec3& b) {
    return AngleBetween(a, b, Length(a), Length(b));
}

float AngleBetween(const PatchVec3& a, const PatchVec3& b, float lengthA, float lengthB) {
    if (lengthB * lengthA == 0.0f) {
        return 0.0f;
    }
    return AngleOfCosine(CosineBetween(a, b, lengthA, lengthB));
}

float AngleOfCosine(float cosine) {
    // Rounding noise on parallel and opposite vectors stays out of acos.
    if (cosine >= 1.0f) {
        return 0.0f;
    }
    // acos in double, rounded once to float: the correctly rounded angle, so that a limit met
    // exactly joins the same way whatever the C library's acosf rounds to.
    if (cosine > -1.0f) {
        return static_cast<float>(std::acos(static_cast<double>(cosine)));
    }
    return kPi;
}

}  // namespace korvane
