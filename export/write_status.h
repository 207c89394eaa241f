#pragma once

#include <string>

namespace korvane {

// What a file writer reports to its caller; the caller turns it into a message in the user's
// language. Whatever the status, a file that was already at the path is either replaced whole or
// left exactly as it was.
enum class WriteStatus {
    kWritten,       // the whole file is in place
    kCannotCreate,  // no file could be created at the path (missing folder, no permission, ...)
    kWriteFailed,   // writing or flushing the new contents failed (disk full, device error, ...)
    // Refused before anything was written:
    kNothingToWrite,     // no object holds what the format writes
    kWouldReplaceSource  // the path is a file that the objects were imported from
};

struct WriteResult {
    WriteStatus status = WriteStatus::kWritten;
    std::string error;  // the system's description of the failure; empty when written
};

}  // namespace korvane
