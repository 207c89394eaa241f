#pragma once

#include <string>
#include <string_view>

#include "import/import_status.h"
#include "import/object_sink.h"

namespace korvane {

// Imports a LightWave (.lwo) object file, "LWOB", "LWO2" or "LWO3" layout: one object for an LWOB
// file, named `fileTitle` (the file's name without folder and extension); one per layer for LWO2
// and LWO3, named after the layer (or `fileTitle` when the name is empty). Coordinates are taken
// unscaled. The file is opened read-only. kCannotOpen: no such file, unreadable;
// kNotRegularFile: a folder, a pipe, a device or a socket; kNotThatFormat: another form type
// (nothing added).
ImportResult ImportLightWave(const std::string& path, const std::string& fileTitle,
                             ObjectSink& sink);
ImportResult ImportLightWaveBytes(std::string_view bytes, std::string_view fileTitle,
                                  ObjectSink& sink);

}  // namespace korvane
