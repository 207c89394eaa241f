#include "import/import_meshes.h"

#include <limits>

#include "import/finish_object.h"

namespace korvane {

ImportResult ImportMeshes(const std::function<ParseOutcome(const MeshHandler&)>& parse,
                          ObjectSink& sink) {
    ImportResult result;
    const ParseOutcome outcome = parse([&](PolyMesh& mesh) {
        const FinishedObject finished = FinishObject(mesh, sink);
        const std::int32_t room = std::numeric_limits<std::int32_t>::max() - result.droppedFaces;
        result.droppedFaces += finished.droppedFaces < room ? finished.droppedFaces : room;
        result.lathesLeftOut += finished.latheLeftOut ? 1 : 0;
        ++result.objectsAdded;
    });
    result.status = outcome.recognised ? ImportStatus::kImported : ImportStatus::kNotThatFormat;
    result.truncated = outcome.truncated;
    return result;
}

}  // namespace korvane
