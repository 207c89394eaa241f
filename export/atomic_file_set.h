#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "export/write_status.h"

namespace korvane {

struct FileToWrite {
    std::string path;
    std::span<const std::uint8_t> bytes;
};

// Puts files that name one another (an OBJ and its material library, a glTF and its buffer) in
// place all together or not at all. The last file is the main one, the one that names the
// others. Every file goes to its temporary first (as WriteFileAtomically's does); only when all
// are written, flushed and closed are they renamed into place, the others before the main file.
// A file that one of them replaces is moved aside until the main file is in place; on any failure
// each moved file comes back, every temporary and every file that was not there before is
// removed, and the old set is left as it was. A device or FIFO at a path is written in place,
// at its turn. An error of a file other than the main one begins with its path.
WriteResult WriteFileSetAtomically(std::span<const FileToWrite> files);

}  // namespace korvane
