#pragma once

#include <string_view>

#include "import/parse_outcome.h"

namespace korvane {

// Walks a LightWave object file and hands over one mesh per object: the whole file for "LWOB"
// (named `fileTitle`, default mesh colour), one per layer for "LWO2" and "LWO3" (named after the
// layer, or `fileTitle` when the layer's name is empty; colour white), points and polygons only.
// Reading ends at the end of the bytes, whatever the FORM size says, or at a chunk that runs past
// them; the object being read is still handed over. Not recognised unless bytes 8 to 11 are
// "LWOB", "LWO2" or "LWO3".
ParseOutcome ParseLightWave(std::string_view bytes, std::string_view fileTitle,
                            const MeshHandler& onObject);

}  // namespace korvane
