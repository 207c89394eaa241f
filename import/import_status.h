#pragma once

#include <cstdint>
#include <string>

namespace korvane {

// What a reader reports to its caller; the caller turns it into a message in the user's language.
enum class ImportStatus {
    kImported,        // the file was read to its end (objects may be none)
    kCannotOpen,      // the file could not be opened for reading
    kNotRegularFile,  // a folder, a pipe, a device or a socket: refused before it is read
    kNotThatFormat,   // the file is not of the reader's kind (first word / form type)
    // A compressed Metasequoia file (a zip archive) whose model could not be unpacked:
    kArchiveWithoutModel,    // no .mqo member in it
    kArchiveDamaged,         // cut short, corrupt, encrypted or packed by a method not read
    kArchiveTooLarge,        // the member unpacks beyond the size or ratio bound (a zip bomb)
    kArchiveTooManyMembers,  // more members than a model archive holds: not read at all
    // A file read through assimp in the helper process (import/assimp_import.h):
    kAssimpRefused,        // assimp does not read this kind of file, or found it malformed
    kImporterCrashed,      // the helper died or handed back damaged data
    kImporterTimedOut,     // the helper did not finish in time and was stopped
    kImporterOutOfMemory,  // the helper needed more memory than allowed, or the model is beyond
                           // what one import may take
    kImporterMissing,      // the helper program could not be found or started
    // The file is of the reader's kind, but cut short or inconsistent where no part of it can be
    // kept (a ruvoPatch file); nothing was added, and the import's detail says where.
    kMalformed,
    // The model does not fit in the memory this program has left; nothing was added.
    kBeyondMemory
};

struct ImportResult {
    ImportStatus status = ImportStatus::kImported;
    std::int32_t objectsAdded = 0;
    std::int32_t droppedFaces = 0;   // faces or polygons whose vertex indices were out of range
    std::int32_t lathesLeftOut = 0;  // objects kept unswept: their lathe would outgrow memory
    std::int32_t outlineFaces = 0;   // faces of five or more corners kept as outlines, no patch
    // Binary vertex blocks whose vertex count and byte count disagree (the smaller was read).
    std::int32_t vertexBlocksMismatched = 0;
    // Objects kept unmirrored: the file gives a mirror mode other than 0, 1 or 2.
    std::int32_t mirrorsLeftOut = 0;
    bool truncated = false;  // the file ended inside a chunk
    // Files that the model names and that were not read, being outside its folder or no regular
    // file (read through assimp; the import's detail names them).
    std::int32_t sideFilesRefused = 0;
    // A compressed Metasequoia file: how many members are named like a model (a warning when
    // more than one), and the name, as the archive stores it, of the one that was read.
    std::int32_t archiveModels = 0;
    std::string archiveModelRead{};
};

}  // namespace korvane
