#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "import/object_sink.h"

namespace korvane {

struct RvpReadResult {
    std::string error;  // one line when the file was refused; nothing was added then
    std::int32_t objectsAdded = 0;
};

// Reads back a ruvoPatch (.rvp) file as the export wrote it: one object per stored object, with
// its name, colour, control points, splines and nodes, and each point's references in the stored
// order, so that patch detection finds the patches of the network that was exported. The file
// holds no handles and no patches: handles are computed from the points as after an import, and
// patches are left to be detected. A file that is cut, counts more than it holds or refers to
// what is not there adds nothing.
RvpReadResult ImportRvpBytes(std::string_view bytes, ObjectSink& sink);

}  // namespace korvane
