#pragma once

#include <string>

#include "import/assimp_import.h"
#include "import/import_report.h"
#include "import/object_sink.h"

namespace korvane {

// The reader a model file goes to.
enum class ModelReader {
    kByContent,    // told by its first bytes: Metasequoia (.mqo, .mqoz), LightWave (.lwo),
                   // ruvoPatch (.rvp); any other file is assimp's to read or refuse
    kMetasequoia,  // the reader the user chose: a file of another kind is refused as
    kLightWave,    // kNotThatFormat
    kAssimp,
};

struct ImportOptions {
    ModelReader reader = ModelReader::kByContent;
    AssimpImportOptions assimp{};  // for a file read through assimp: its scale, the helper's limits
};

// The one way from a model file's path to objects in the sink: reads the file (refusing what is
// not a regular file before a byte is read) and hands it to its reader. A LightWave object
// without a name of its own is named after the file. The sink gets objects only from a file that
// was read (kImported); a refused file adds none.
ImportReport ImportModelFile(const std::string& path, ObjectSink& sink,
                             const ImportOptions& options);

}  // namespace korvane
