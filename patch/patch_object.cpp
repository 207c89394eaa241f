#include "patch/patch_object.h"

namespace korvane {

ControlPoint::~ControlPoint() {
    splineRefs.RemoveAll([](SplineRef* ref) { delete ref; });
    patches.RemoveAll();
}

SplineRef* ControlPoint::AddSplineRef() {
    auto* ref = new SplineRef;
    splineRefs.AddTail(ref);
    return ref;
}

Spline::~Spline() {
    nodes.RemoveAll([](SplineNode* node) { delete node; });
}

SplineNode* Spline::AddNode() {
    auto* node = new SplineNode;
    nodes.AddTail(node);
    return node;
}

PatchObject::~PatchObject() {
    controlPoints.RemoveAll([](ControlPoint* point) { delete point; });
    splines.RemoveAll([](Spline* spline) { delete spline; });
    DeletePatches();
}

ControlPoint* PatchObject::AddControlPoint() {
    auto* point = new ControlPoint;
    controlPoints.AddTail(point);
    return point;
}

Spline* PatchObject::AddSpline() {
    auto* spline = new Spline;
    splines.AddTail(spline);
    return spline;
}

Patch* PatchObject::AddPatch() {
    auto* patch = new Patch;
    patches.AddTail(patch);
    return patch;
}

void PatchObject::NumberControlPoints() {
    std::int32_t i = 0;
    for (ControlPoint* point : controlPoints) {
        point->index = i++;
    }
}

void PatchObject::NumberSplines() {
    std::int32_t i = 0;
    for (Spline* spline : splines) {
        spline->index = i++;
        std::int32_t j = 0;
        for (SplineNode* node : spline->nodes) {
            node->index = j++;
        }
    }
}

void PatchObject::DeletePatches() {
    patches.RemoveAll([](Patch* patch) { delete patch; });
    patchesValid = 0;
}

}  // namespace korvane
