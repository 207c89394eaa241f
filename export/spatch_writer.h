#pragma once

#include <string>

#include "export/write_status.h"
#include "geometry/object_list.h"
#include "patch/patch_object.h"

// The sPatch (.spt) export: every object's control points and curves in one file, as text with
// CRLF line ends. A point that several curves pass is one point that each of them names; point
// and curve numbers run on from one object to the next. Patches are not stored (sPatch finds
// them itself), nor names or colours. Positions are the model's, as they are. Each node is round
// unless it is a corner, with its curvature: its handle's length over the distance to the next
// node (the previous one at an open curve's end). Lone control points, on no curve, are lost.

namespace korvane {

// The whole file for objects, in list order.
std::string SerializeSPatch(const ObjectList<PatchObject>& objects);

// Writes the file for objects at path, replacing any file there only once all of it is written.
WriteResult WriteSPatchFile(const std::string& path, const ObjectList<PatchObject>& objects);

// The curvature written for node `node` (an index into object.Nodes()) of spline: finite whatever
// the positions; where the distance is zero, the node's tension, which the handles follow.
float SPatchCurvature(const PatchObject& object, std::int32_t spline, std::int32_t node);

}  // namespace korvane
