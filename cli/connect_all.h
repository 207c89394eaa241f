#pragma once

#include "geometry/object_list.h"
#include "patch/curve_connector.h"
#include "patch/patch_object.h"

namespace korvane::cli {

// What the desktop's Connect Curve does to every object: drop its patches, join its curves under
// the limit angle, and recompute the handles of the changed splines. The patches are not found
// again here: only the commands that use them (info, render) find them.
void ConnectAllObjects(ObjectList<PatchObject>& objects, float limitDegrees,
                       const ProgressReceiver& progress);

}  // namespace korvane::cli
