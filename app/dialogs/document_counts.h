#pragma once

#include <cstdint>

#include "geometry/object_list.h"
#include "patch/patch_object.h"

namespace korvane {

struct DocumentCounts {
    std::int32_t objects = 0;
    std::int32_t threePointPatches = 0;
    std::int32_t fourPointPatches = 0;
};

// Counts the objects and their patches, head to tail. An object whose patches are not valid (a
// fresh import, or one that Connect Curve has rewritten) gets them built first.
DocumentCounts CountDocument(const ObjectList<PatchObject>& objects);

}  // namespace korvane
