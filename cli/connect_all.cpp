#include "cli/connect_all.h"

#include "patch/patch_builder.h"

namespace korvane::cli {

void ConnectAllObjects(ObjectList<PatchObject>& objects, float limitDegrees,
                       const ProgressReceiver& progress) {
    CurveConnector connector;
    for (PatchObject* object : objects) {
        object->DeletePatches();
        connector.ConnectCurves(*object, limitDegrees, progress);
        ComputeHandles(*object);
    }
}

}  // namespace korvane::cli
