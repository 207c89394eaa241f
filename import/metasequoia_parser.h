#pragma once

#include <string_view>

#include "import/parse_outcome.h"

namespace korvane {

// Walks a Metasequoia text model and hands the mesh of every Object chunk to `onObject` as soon
// as the chunk ends. Scene and material data are read past. A file cut inside an object still
// hands that object over with what was read of it. Not recognised unless the first word is
// "Metasequoia".
ParseOutcome ParseMetasequoia(std::string_view bytes, const MeshHandler& onObject);

}  // namespace korvane
