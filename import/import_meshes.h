#pragma once

#include <functional>

#include "import/import_status.h"
#include "import/object_sink.h"
#include "import/parse_outcome.h"

namespace korvane {

// Runs a parser and turns every mesh it hands over into an object of the sink (FinishObject),
// counting the objects added and the faces dropped.
ImportResult ImportMeshes(const std::function<ParseOutcome(const MeshHandler&)>& parse,
                          ObjectSink& sink);

}  // namespace korvane
