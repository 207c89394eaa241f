#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "export/write_status.h"

namespace korvane {

// Puts bytes at path whole or not at all: they go to a new temporary file beside the target
// ("<path>.tmp-XXXXXX"), which is flushed to the disk and then renamed over the target. On any
// failure the temporary file is removed and an existing target stays untouched. A replaced
// file keeps its permission bits; a new one gets 0644 less the umask. A character device or a
// FIFO at path is written directly instead (a full device then reports kWriteFailed).
WriteResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// The first half of WriteFileAtomically: bytes in a new temporary file beside path, flushed to
// the disk and closed, with the permission bits of a regular file already at path. Its name goes
// to temporaryPath; on failure nothing is left.
WriteResult WriteTemporaryBeside(const std::string& path, std::span<const std::uint8_t> bytes,
                                 std::string& temporaryPath);

// Whether path is a character device or a FIFO (/dev/null, /dev/stdout, a named pipe): it holds
// no contents to keep, and a rename would replace the device itself with a regular file, so it is
// written in place.
bool IsStreamPath(const std::string& path);

// Writes bytes into the existing device or FIFO at path.
WriteResult WriteInPlace(const std::string& path, std::span<const std::uint8_t> bytes);

// Writes all of bytes to fd, resuming after short writes and interruptions. Returns 0, or the
// errno of the write that failed.
int WriteAllBytes(int fd, std::span<const std::uint8_t> bytes);

}  // namespace korvane
