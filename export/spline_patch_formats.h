#pragma once

#include <optional>
#include <string>

#include "export/write_status.h"
#include "geometry/object_list.h"
#include "patch/patch_object.h"

// The spline-patch formats of other programs that the network is exported to.

namespace korvane {

enum class SplinePatchFormat { kAnimationMaster, kSPatch };

// The format a file name asks for by its extension, in any case: .mdl (Animation:Master) or .spt
// (sPatch). Nothing for any other name.
std::optional<SplinePatchFormat> SplinePatchFormatOf(const std::string& path);

// Writes objects at path in format, replacing any file there only once all of it is written.
WriteResult WriteSplinePatchFile(const std::string& path, const ObjectList<PatchObject>& objects,
                                 SplinePatchFormat format);

}  // namespace korvane
