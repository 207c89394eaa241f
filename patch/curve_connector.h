#pragma once

#include <cstdint>
#include <functional>

#include "patch/patch_object.h"

namespace korvane {

// Receives the control point being examined, from 0; again for the same point after each join at
// it, as the point is examined anew.
using ProgressReceiver = std::function<void(std::int32_t examined)>;
// Asked after every join; true stops the run there. Not asked between joins, so that examining
// points costs nothing more.
using CancelCheck = std::function<bool()>;

// Joins open spline ends that meet at a control point when the angle between their first segments
// is wider than the limit (180 degrees is a straight continuation), the widest pair at a point
// first, and closes a spline whose two ends meet. Never adds or removes control points; nodes it
// creates keep zero handles until ComputeHandles runs. Patches must already be deleted.
//
// False when cancelled stopped the run: the joins made so far stay, and the network is as valid as
// after a full run (handles of new nodes still zero).
bool ConnectCurves(PatchObject& object, float limitDegrees, const ProgressReceiver& progress,
                   const CancelCheck& cancelled = {});

}  // namespace korvane
