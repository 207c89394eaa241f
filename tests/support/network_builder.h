#pragma once

#include <initializer_list>
#include <vector>

#include "patch/patch_object.h"

namespace korvane::testing {

// Builds patch networks by hand, the way BuildFromMesh does: points in order, then one open
// spline per node list, each node referenced from its point.
class NetworkBuilder {
  public:
    explicit NetworkBuilder(PatchObject& object) : object_(object) {}

    ControlPoint* Point(float x, float y, float z) {
        ControlPoint* point = object_.AddControlPoint();
        point->Set(x, y, z);
        points_.push_back(point);
        return point;
    }

    Spline* Curve(std::initializer_list<int> pointIndices) {
        Spline* spline = object_.AddSpline();
        for (int index : pointIndices) {
            SplineNode* node = spline->AddNode();
            node->controlPoint = points_.at(index);
            SplineRef* ref = node->controlPoint->AddSplineRef();
            ref->spline = spline;
            ref->node = node;
        }
        return spline;
    }

    ControlPoint* point(int index) const { return points_.at(index); }

  private:
    PatchObject& object_;
    std::vector<ControlPoint*> points_;
};

// The indices of the control points a spline runs through, head to tail.
inline std::vector<int> PointIndices(const Spline& spline, const PatchObject& object) {
    std::vector<int> out;
    for (const SplineNode* node : spline.nodes) {
        int i = 0;
        for (const ControlPoint* point : object.controlPoints) {
            if (point == node->controlPoint) {
                out.push_back(i);
                break;
            }
            ++i;
        }
    }
    return out;
}

}  // namespace korvane::testing
