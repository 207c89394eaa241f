#include "cli/connect_all.h"

#include "patch/patch_builder.h"

namespace korvane::cli {

void ConnectAllObjects(ObjectList<PatchObject>& objects, float limitDegrees,
                       const ProgressReceiver& progress) {
    for (PatchObject* object : objects) {
        object->DeletePatches();
        ConnectCurves(*object, limitDegrees, progress);
        ComputeHandles(*object);
    }
}

}  // namespace korvane::cli
