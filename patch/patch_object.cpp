#include "patch/patch_object.h"

namespace korvane {

ControlPoint::~ControlPoint() {
    for (SplineRef* ref : splineRefs) {
        delete ref;
    }
    splineRefs.RemoveAll();
    patches.RemoveAll();
}

SplineRef* ControlPoint::AddSplineRef() {
    auto* ref = new SplineRef;
    splineRefs.AddTail(ref);
    return ref;
}

Spline::~Spline() {
    for (SplineNode* node : nodes) {
        delete node;
    }
    nodes.RemoveAll();
}

SplineNode* Spline::AddNode() {
    auto* node = new SplineNode;
    nodes.AddTail(node);
    return node;
}

PatchObject::~PatchObject() {
    for (ControlPoint* point : controlPoints) {
        delete point;
    }
    controlPoints.RemoveAll();
    for (Spline* spline : splines) {
        delete spline;
    }
    splines.RemoveAll();
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
    for (Patch* patch : patches) {
        delete patch;
    }
    patches.RemoveAll();
    patchesValid = 0;
}

}  // namespace korvane
