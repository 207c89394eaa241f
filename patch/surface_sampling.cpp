#include "patch/surface_sampling.h"

#include <array>
#include <cmath>

namespace korvane {
namespace {

struct Weights {
    std::array<float, 4> value;
    std::array<float, 4> slope;  // derivative of each cubic Bernstein polynomial
};

Weights WeightsAt(float t) {
    const float s = 1.0f - t;
    return {
        {s * s * s, 3.0f * t * s * s, 3.0f * t * t * s, t * t * t},
        {-3.0f * s * s, 3.0f * s * s - 6.0f * t * s, 6.0f * t * s - 3.0f * t * t, 3.0f * t * t}};
}

Vec3 Combine(const BezierNet& net, const std::array<float, 4>& u, const std::array<float, 4>& v) {
    Vec3 sum;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            const float w = u[static_cast<std::size_t>(i)] * v[static_cast<std::size_t>(j)];
            const float* p = &net.values[static_cast<std::size_t>(3 * i + 12 * j)];
            sum.x += w * p[0];
            sum.y += w * p[1];
            sum.z += w * p[2];
        }
    }
    return sum;
}

Vec3 UnitOrZero(const Vec3& v) {
    const float squared = v.x * v.x + v.y * v.y + v.z * v.z;
    if (squared == 0.0f) {
        return v;
    }
    const float inverse = 1.0f / std::sqrt(squared);
    return Vec3{v.x * inverse, v.y * inverse, v.z * inverse};
}

}  // namespace

void SampleNetGrid(const BezierNet& net, int steps, std::vector<SurfaceSample>& grid) {
    const int n = steps < 1 ? 1 : steps;
    std::vector<Weights> table;
    table.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) {
        table.push_back(WeightsAt(static_cast<float>(i) / static_cast<float>(n)));
    }
    grid.clear();
    grid.reserve(table.size() * table.size());
    for (const Weights& v : table) {
        for (const Weights& u : table) {
            const Vec3 alongU = Combine(net, u.slope, v.value);
            const Vec3 alongV = Combine(net, u.value, v.slope);
            const Vec3 cross{alongU.y * alongV.z - alongU.z * alongV.y,
                             alongU.z * alongV.x - alongU.x * alongV.z,
                             alongU.x * alongV.y - alongU.y * alongV.x};
            grid.push_back({Combine(net, u.value, v.value), UnitOrZero(cross)});
        }
    }
}

int SurfaceNets(const PatchObject& object, const Patch& patch, std::array<BezierNet, 3>& nets) {
    if (patch.cornerCount == 4) {
        QuadNet(object, patch, nets[0]);
        return 1;
    }
    if (patch.cornerCount == 3) {
        TriangleNets(object, patch, nets);
        return 3;
    }
    return 0;
}

int SurfaceNetSteps(int netCount, std::int32_t surfaceResolution) {
    const int resolution = surfaceResolution < 1 ? 1 : surfaceResolution;
    return netCount == 3 ? resolution : 2 * resolution;
}

}  // namespace korvane
