#include "import/metasequoia_reader.h"

#include <utility>

#include "import/file_bytes.h"
#include "import/import_meshes.h"
#include "import/metasequoia_parser.h"

namespace korvane {
namespace {

ImportResult ImportMetasequoiaText(std::string_view text, ObjectSink& sink) {
    return ImportMeshes(
        [text](const MeshHandler& onObject) { return ParseMetasequoia(text, onObject); }, sink);
}

}  // namespace

ImportResult ImportMetasequoia(const std::string& path, ObjectSink& sink) {
    std::string bytes;
    if (const FileRead read = ReadFileBytes(path, bytes); read.status != FileReadStatus::kRead) {
        return ImportResult{.status = ImportStatusOf(read)};
    }
    return ImportMetasequoiaBytes(bytes, sink);
}

ImportResult ImportMetasequoiaBytes(std::string_view bytes, ObjectSink& sink) {
    return ImportMetasequoiaBytesWithin(bytes, sink, kMqozLimits);
}

ImportResult ImportMetasequoiaBytesWithin(std::string_view bytes, ObjectSink& sink,
                                          const ArchiveLimits& limits) {
    if (!IsZipArchive(bytes)) {
        return ImportMetasequoiaText(bytes, sink);
    }
    std::string text;
    ModelMembers members;
    const ImportStatus unpacked = UnpackMqoz(bytes, text, limits, &members);
    if (unpacked != ImportStatus::kImported) {
        return ImportResult{.status = unpacked};
    }
    ImportResult result = ImportMetasequoiaText(text, sink);
    result.archiveModels = members.count;
    result.archiveModelRead = std::move(members.first);
    return result;
}

}  // namespace korvane
