#pragma once

#include "geometry/vec3.h"

namespace korvane {

// Where the view looks from and to. Held by value in the document and never saved.
class Camera {
  public:
    Camera() = default;
    Camera(const Camera&) = default;
    Camera& operator=(const Camera&) = default;
    virtual ~Camera() = default;

    Vec3 eye{0.0f, 10.0f, -40.0f};
    Vec3 target{0.0f, 0.0f, 0.0f};  // the centre of orbiting
    float fieldOfView = 40.0f;      // vertical, degrees
    float bank = 0.0f;              // roll about the viewing direction, degrees
};

// Writes the defaults: eye (0, 10, -40), target at the origin, 40 degrees, no bank.
inline void ResetCamera(Camera& camera) {
    camera = Camera();
}

}  // namespace korvane
