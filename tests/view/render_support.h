#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "geometry/angles.h"
#include "import/object_sink.h"
#include "patch/patch_builder.h"
#include "support/network_builder.h"
#include "view/camera.h"
#include "view/camera_navigation.h"
#include "view/png_file.h"

namespace korvane::testing {

using Pixel = std::array<int, 3>;

inline Pixel PixelAt(const RgbaImage& image, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * image.width + x) * 4;
    return {image.pixels[at], image.pixels[at + 1], image.pixels[at + 2]};
}

inline bool Near(const Pixel& a, const Pixel& b, int tolerance = 2) {
    for (int i = 0; i < 3; ++i) {
        if (std::abs(a[i] - b[i]) > tolerance) {
            return false;
        }
    }
    return true;
}

inline const Pixel kBackground = {100, 100, 100};

struct ScreenPoint {
    float x;  // pixels from the left
    float y;  // pixels from the top
};

// Where a model point appears, worked out from the camera alone (look-at in the Z-mirrored world,
// then a perspective divide), independent of the drawing code.
inline ScreenPoint Project(const Camera& camera, int width, int height, const Vec3& point) {
    auto mirror = [](const Vec3& v) { return Vec3{v.x, v.y, -v.z}; };
    auto cross = [](const Vec3& a, const Vec3& b) {
        return Vec3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    };
    auto unit = [](const Vec3& v) { return Scale(v, 1.0f / Length(v)); };
    const Vec3 eye = mirror(camera.eye);
    const Vec3 forward = unit(Subtract(mirror(camera.target), eye));
    const Vec3 side = unit(cross(forward, mirror(UpVector(camera))));
    const Vec3 up = cross(side, forward);
    const Vec3 relative = Subtract(mirror(point), eye);
    const float depth = Dot(relative, forward);
    const float focal = 1.0f / std::tan(DegreesToRadians(camera.fieldOfView / 2.0f));
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    const float ndcX = focal / aspect * Dot(relative, side) / depth;
    const float ndcY = focal * Dot(relative, up) / depth;
    return {(ndcX + 1.0f) / 2.0f * width, (1.0f - ndcY) / 2.0f * height};
}

// A closed network of two-node splines through the given points, with handles and patches
// computed.
inline PatchObject* AddLoop(ObjectSink& sink, std::initializer_list<Vec3> corners,
                            std::uint32_t colour) {
    PatchObject* object = sink.AddObject();
    object->colour = colour;
    NetworkBuilder build(*object);
    for (const Vec3& corner : corners) {
        build.Point(corner.x, corner.y, corner.z);
    }
    const int n = static_cast<int>(corners.size());
    for (int i = 0; i < n; ++i) {
        build.Curve({i, (i + 1) % n});
    }
    ComputeHandles(*object);
    DetectPatches(*object);
    return object;
}

}  // namespace korvane::testing
