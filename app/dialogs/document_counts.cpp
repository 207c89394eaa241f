#include "app/dialogs/document_counts.h"

#include "patch/patch_builder.h"

namespace korvane {

DocumentCounts CountDocument(const ObjectList<PatchObject>& objects) {
    DocumentCounts counts;
    counts.objects = objects.GetCount();
    for (PatchObject* object : objects) {
        if (!object->patchesValid) {
            DetectPatches(*object);
        }
        for (const Patch& patch : object->patches) {
            if (patch.cornerCount == 3) {
                ++counts.threePointPatches;
            } else {
                ++counts.fourPointPatches;
            }
        }
    }
    return counts;
}

}  // namespace korvane
