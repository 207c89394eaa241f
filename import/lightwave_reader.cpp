#include "import/lightwave_reader.h"

#include "import/file_bytes.h"
#include "import/import_meshes.h"
#include "import/lightwave_parser.h"

namespace korvane {

ImportResult ImportLightWave(const std::string& path, const std::string& fileTitle,
                             ObjectSink& sink) {
    std::string bytes;
    if (const FileRead read = ReadFileBytes(path, bytes); read.status != FileReadStatus::kRead) {
        return ImportResult{.status = ImportStatusOf(read)};
    }
    return ImportLightWaveBytes(bytes, fileTitle, sink);
}

ImportResult ImportLightWaveBytes(std::string_view bytes, std::string_view fileTitle,
                                  ObjectSink& sink) {
    return ImportMeshes(
        [bytes, fileTitle](const MeshHandler& onObject) {
            return ParseLightWave(bytes, fileTitle, onObject);
        },
        sink);
}

}  // namespace korvane
