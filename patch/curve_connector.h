#pragma once

#include <functional>
#include <string>

#include "patch/patch_object.h"

namespace korvane {

// Receives one progress text: "<name> <examined> / <total>".
using ProgressReceiver = std::function<void(const std::string&)>;

// Joins open spline ends that meet at a control point when the angle between their first segments
// is wider than the limit (180 degrees is a straight continuation), the widest pair at a point
// first, and closes a spline whose two ends meet. Never adds or removes control points; nodes it
// creates keep zero handles until ComputeHandles runs. Patches must already be deleted.
class CurveConnector {
public:
    virtual ~CurveConnector() = default;

    void ConnectCurves(PatchObject& object, float limitDegrees, const ProgressReceiver& progress);
};

}  // namespace korvane
