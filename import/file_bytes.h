#pragma once

#include <cstddef>
#include <string>

#include "import/import_status.h"

namespace korvane {

enum class FileReadStatus {
    kRead,
    kCannotOpen,      // missing, no permission: systemError says why
    kNotRegularFile,  // a folder, a pipe, a device or a socket: kind says which
    kTooLarge,        // more than 256 MiB, beyond any model
    kReadFailed       // systemError says why
};

// What a path names, for the reason a file that is not regular was refused.
enum class FileKind { kRegular, kFolder, kPipe, kDevice, kSocket };

struct FileRead {
    FileReadStatus status = FileReadStatus::kRead;
    FileKind kind = FileKind::kRegular;
    int systemError = 0;
};

// Reads a whole regular file into `bytes`, opened read-only. Anything else is refused before a
// byte is read: a pipe without a writer would block for ever and a device may never end.
FileRead ReadFileBytes(const std::string& path, std::string& bytes);

// The first `count` bytes of a regular file, fewer when it is shorter; refused as ReadFileBytes
// refuses.
FileRead ReadFileStart(const std::string& path, std::size_t count, std::string& bytes);

// Whether the path names a regular file that this process may open for reading; nothing is read.
FileRead CheckReadableFile(const std::string& path);

// The reader's status for a file that could not be read.
inline ImportStatus ImportStatusOf(const FileRead& read) {
    return read.status == FileReadStatus::kNotRegularFile ? ImportStatus::kNotRegularFile
                                                          : ImportStatus::kCannotOpen;
}

}  // namespace korvane
