#include "import/import_meshes.h"

#include <limits>

#include "import/finish_object.h"

namespace korvane {

ImportResult ImportMeshes(const std::function<ParseOutcome(const MeshHandler&)>& parse,
                          ObjectSink& sink) {
    ImportResult result;
    const ParseOutcome outcome = parse([&](PolyMesh& mesh) {
        const std::int32_t dropped = FinishObject(mesh, sink);
        const std::int32_t room = std::numeric_limits<std::int32_t>::max() - result.droppedFaces;
        result.droppedFaces += dropped < room ? dropped : room;
        ++result.objectsAdded;
    });
    result.status = outcome.recognised ? ImportStatus::kImported : ImportStatus::kNotThatFormat;
    result.truncated = outcome.truncated;
    return result;
}

}  // namespace korvane
