#include "import/metasequoia_reader.h"

#include "import/file_bytes.h"
#include "import/import_meshes.h"
#include "import/metasequoia_parser.h"

namespace korvane {

ImportResult ImportMetasequoia(const std::string& path, ObjectSink& sink) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) {
        return ImportResult{.status = ImportStatus::kCannotOpen};
    }
    return ImportMetasequoiaBytes(bytes, sink);
}

ImportResult ImportMetasequoiaBytes(std::string_view bytes, ObjectSink& sink) {
    return ImportMeshes(
        [bytes](const MeshHandler& onObject) { return ParseMetasequoia(bytes, onObject); }, sink);
}

}  // namespace korvane
