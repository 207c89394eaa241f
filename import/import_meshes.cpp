#include "import/import_meshes.h"

#include <limits>

#include "import/finish_object.h"

namespace korvane {

namespace {

void AddCapped(std::int32_t& total, std::int32_t added) {
    const std::int32_t room = std::numeric_limits<std::int32_t>::max() - total;
    total += added < room ? added : room;
}

}  // namespace

ImportResult ImportMeshes(const std::function<ParseOutcome(const MeshHandler&)>& parse,
                          ObjectSink& sink) {
    ImportResult result;
    const ParseOutcome outcome = parse([&](PolyMesh& mesh) {
        const FinishedObject finished = FinishObject(mesh, sink);
        AddCapped(result.droppedFaces, finished.droppedFaces);
        AddCapped(result.outlineFaces, finished.outlineFaces);
        result.lathesLeftOut += finished.latheLeftOut ? 1 : 0;
        ++result.objectsAdded;
    });
    result.status = outcome.recognised ? ImportStatus::kImported : ImportStatus::kNotThatFormat;
    result.truncated = outcome.truncated;
    result.vertexBlocksMismatched = outcome.vertexBlocksMismatched;
    result.mirrorsLeftOut = outcome.mirrorsLeftOut;
    return result;
}

}  // namespace korvane
