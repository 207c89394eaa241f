#pragma once

#include <initializer_list>
#include <vector>

#include "patch/patch_object.h"

namespace korvane::testing {

// Builds patch networks by hand, the way BuildFromMesh does: points in order, then one spline per
// node list, each node referenced from its point in the order the nodes were made.
class NetworkBuilder {
  public:
    explicit NetworkBuilder(PatchObject& object) : object_(object) {}

    std::int32_t Point(float x, float y, float z) {
        return object_.AddControlPoint(PatchVec3(x, y, z));
    }

    std::int32_t Curve(std::initializer_list<int> pointIndices, bool closed = false) {
        const std::vector<std::int32_t> points(pointIndices.begin(), pointIndices.end());
        const std::int32_t spline = object_.AddSpline(points, closed);
        object_.IndexReferences();
        return spline;
    }

  private:
    PatchObject& object_;
};

// The indices of the control points a spline runs through, head to tail.
inline std::vector<int> PointIndices(const PatchObject& object, std::int32_t spline) {
    std::vector<int> out;
    for (const SplineNode& node : object.SplineNodes(spline)) {
        out.push_back(node.controlPoint);
    }
    return out;
}

}  // namespace korvane::testing
