#pragma once

#include <string>

#include "cli/command_line.h"

namespace korvane::cli {

// Why the output of convert or render may not be written, in one line; empty when it may. Its name
// must end in an extension the command writes, in any case (convert: .rvp and the spline-patch,
// surface-mesh and CAD formats; render: .png), unless it is a pipe or a character device, which
// takes a ruvoPatch file or a PNG image as a stream (/dev/stdout). It must not be one of the inputs
// under any name, as a hard link, a symbolic link or a path of its own: that is told by device and
// inode. Nor may the companion that an OBJ or glTF output writes beside it (its .mtl or .bin) be
// one of the inputs.
std::string WhyOutputRefused(const CommandLine& line);

}  // namespace korvane::cli
