#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "patch/patch_object.h"

namespace korvane {

// The objects of a whole ruvoPatch file, each a sound network (see LinkReferences) with the
// file's points, splines, nodes and each point's references in the file's order, handles not yet
// computed and no patches; or nothing, with `error` set to one line saying what is wrong and
// where, when the bytes are cut, count more than they hold, refer to what is not there, or go on
// after the closing "end". Every count is weighed against the bytes left before anything is
// allocated for it. The settings the export always writes the same way are read past whatever
// they hold, as this program does not use them.
std::optional<std::vector<PatchObject>> ParseRvp(std::string_view bytes, std::string& error);

}  // namespace korvane
