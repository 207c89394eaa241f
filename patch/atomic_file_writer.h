#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "patch/write_status.h"

namespace korvane {

// Puts bytes at path whole or not at all: they go to a new temporary file beside the target
// ("<path>.tmp-XXXXXX"), which is flushed to the disk and then renamed over the target. On any
// failure the temporary file is removed and an existing target stays untouched. A replaced
// file keeps its permission bits; a new one gets 0644 less the umask. A character device or a
// FIFO at path is written directly instead (a full device then reports kWriteFailed).
WriteResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Writes all of bytes to fd, resuming after short writes and interruptions. Returns 0, or the
// errno of the write that failed.
int WriteAllBytes(int fd, std::span<const std::uint8_t> bytes);

}  // namespace korvane
