#pragma once

#include "geometry/object_list.h"
#include "patch/patch_builder.h"
#include "patch/patch_object.h"

namespace korvane::testing {

// Finds every object's patches, as a document has them before it writes a format that holds
// patches: networks that a test builds or reads have none yet.
inline const ObjectList<PatchObject>& WithPatches(const ObjectList<PatchObject>& objects) {
    for (PatchObject* object : objects) {
        DetectPatches(*object);
    }
    return objects;
}

}  // namespace korvane::testing
