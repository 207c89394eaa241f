#pragma once

#include <cstdint>

namespace korvane {

// What a reader reports to its caller; the caller turns it into a message in the user's language.
enum class ImportStatus {
    kImported,      // the file was read to its end (objects may be none)
    kCannotOpen,    // the file could not be opened for reading
    kNotThatFormat  // the file is not of the reader's kind (first word / form type)
};

struct ImportResult {
    ImportStatus status = ImportStatus::kImported;
    std::int32_t objectsAdded = 0;
    std::int32_t droppedFaces = 0;   // faces or polygons whose vertex indices were out of range
    std::int32_t lathesLeftOut = 0;  // objects kept unswept: their lathe would outgrow memory
    bool truncated = false;          // the file ended inside a chunk
};

}  // namespace korvane
