#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/write_status.h"
#include "geometry/object_list.h"
#include "patch/patch_object.h"

// The ruvoPatch (.rvp) export: every object's control points, splines with their nodes, and the
// spline references of each point, as a little-endian archive. Handles and patches are not
// written.

namespace korvane {

// The whole file for objects, in list order.
std::vector<std::uint8_t> SerializeRvp(const ObjectList<PatchObject>& objects);

// Writes the file for objects at path, replacing any file there only once all of it is written.
WriteResult WriteRvpFile(const std::string& path, const ObjectList<PatchObject>& objects);

}  // namespace korvane
