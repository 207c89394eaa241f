#include "view/curve_sampling.h"

namespace korvane {
namespace {

float Blend(const std::array<float, 4>& w, float p0, float p1, float p2, float p3) {
    return w[0] * p0 + w[1] * p1 + w[2] * p2 + w[3] * p3;
}

void SampleSegment(const PatchObject& object, const SplineNode& a, const SplineNode& b,
                   const CurveWeightTable& weights, std::vector<Vec3>& vertices) {
    const PatchVec3& p0 = object.PointOf(a);
    const PatchVec3& p1 = a.handleOut;
    const PatchVec3& p2 = b.handleIn;
    const PatchVec3& p3 = object.PointOf(b);
    for (const std::array<float, 4>& w : weights) {
        vertices.push_back(Vec3{Blend(w, p0.x, p1.x, p2.x, p3.x), Blend(w, p0.y, p1.y, p2.y, p3.y),
                                Blend(w, p0.z, p1.z, p2.z, p3.z)});
    }
}

}  // namespace

CurveWeightTable MakeCurveWeightTable(int curveResolution) {
    const int steps = 2 * (curveResolution < 1 ? 1 : curveResolution);
    CurveWeightTable table(static_cast<std::size_t>(steps) + 1);
    for (int i = 0; i <= steps; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(steps);
        const float u = 1.0f - t;
        table[static_cast<std::size_t>(i)] = {u * u * u, 3.0f * t * u * u, 3.0f * t * t * u,
                                              t * t * t};
    }
    return table;
}

void SampleSpline(const PatchObject& object, std::int32_t spline, const CurveWeightTable& weights,
                  std::vector<Vec3>& vertices) {
    const auto s = static_cast<std::size_t>(spline);
    for (std::int32_t a = object.SplineStarts()[s]; a < object.SplineStarts()[s + 1]; ++a) {
        const std::int32_t b = object.Successor(spline, a);
        if (b < 0) {
            break;
        }
        SampleSegment(object, object.Nodes()[static_cast<std::size_t>(a)],
                      object.Nodes()[static_cast<std::size_t>(b)], weights, vertices);
    }
}

}  // namespace korvane
