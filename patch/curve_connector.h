#pragma once

#include "patch/patch_object.h"
#include "patch/run_control.h"

namespace korvane {

// Joins open spline ends that meet at a control point when the angle between their first segments
// is wider than the limit (180 degrees is a straight continuation), the widest pair at a point
// first, and closes a spline whose two ends meet. Never adds or removes control points; nodes it
// creates keep zero handles until ComputeHandles runs. Patches must already be deleted.
//
// progress receives the control point being examined, from 0, and again for the same point after
// each join at it, as the point is examined anew. cancelled is asked after every join and every
// few thousand points examined.
//
// False when cancelled stopped the run: the joins made so far stay, and the network is as valid as
// after a full run (handles of new nodes still zero).
bool ConnectCurves(PatchObject& object, float limitDegrees, const ProgressReceiver& progress,
                   const CancelCheck& cancelled = {});

}  // namespace korvane
