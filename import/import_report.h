#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "import/file_bytes.h"
#include "import/import_status.h"
#include "import/model_format.h"

namespace korvane {

// What an import left out or changed although the file was read.
enum class ImportWarningKind {
    kDroppedFaces,            // faces naming vertices the object does not have
    kLathesLeftOut,           // objects kept unswept: their lathe would not fit in memory
    kMirrorsLeftOut,          // objects kept unmirrored: a mirror mode other than 0, 1 or 2
    kTruncated,               // the file ends early (count 1)
    kOutlineFaces,            // faces of five or more corners, kept as outlines without patches
    kOtherArchiveModels,      // a compressed file of several .mqo files; count: how many
    kVertexBlocksMismatched,  // binary vertex blocks whose sizes disagree
    kSideFilesRefused,        // files the model names, not read (the report's detail names them)
};

struct ImportWarning {
    ImportWarningKind kind;
    std::int32_t count;
};

// What became of one model file: the front ends make their messages from it.
struct ImportReport {
    ImportStatus status = ImportStatus::kImported;
    // The reader the file went to; kUnknown for assimp.
    ModelFormat format = ModelFormat::kUnknown;
    // Why the file itself could not be read, when it could not (status kCannotOpen or
    // kNotRegularFile); kRead otherwise, also when a reader found the file gone.
    FileRead file{};
    // In the order of ImportWarningKind, each kind at most once and with a count above zero. A
    // refused file may still tell the side files that were not read.
    std::vector<ImportWarning> warnings{};
    // assimp's own words on a file it refused, the side files it did not read, what the helper
    // ran into, or where a ruvoPatch file is damaged; one or more lines, or nothing.
    std::string detail{};
    // Of a compressed Metasequoia file, the member that was read, as the archive names it.
    std::string archiveModelRead{};
    std::int32_t objectsAdded = 0;

    // The count of a kind of warning; 0 when the import gave none.
    std::int32_t Count(ImportWarningKind kind) const;
};

// The warnings of a reader's result, in the report's order.
std::vector<ImportWarning> WarningsOf(const ImportResult& result);

}  // namespace korvane
