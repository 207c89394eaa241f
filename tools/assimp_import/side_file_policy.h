#pragma once

#include <string>

// Which files a model may have read on its behalf. A model names side files (a glTF buffer, an
// OBJ material library, a texture) by any path it likes; only its own folder and the folders
// below it are the model's, and only regular files in them: a path that leaves the folder by
// "..", an absolute path, a file: URL or a symbolic link would read any file of the machine into
// the model, and a device, a named pipe or a socket could block the reader or never end.

namespace korvane {

// The places one model's side files may come from.
struct ModelFolder {
    std::string model;   // the model file itself, symbolic links resolved
    std::string folder;  // the folder it was named in, symbolic links resolved
};

// Empty strings when the model or its folder does not exist.
ModelFolder ResolveModelFolder(const std::string& modelPath);

enum class SideFileRefusal {
    kNone,            // opened
    kMissing,         // no such file
    kOutsideFolder,   // it resolves to a place outside the model's folder
    kNotRegularFile,  // a folder, a device, a named pipe or a socket
    kSystemFile,      // a file of /proc or /sys, which describe the machine rather than hold data
    kUnreadable       // the system refused it (permissions, too many links, ...)
};

struct SideFile {
    int fd = -1;  // open for reading, never blocking, when refusal is kNone; the caller closes it
    SideFileRefusal refusal = SideFileRefusal::kNone;
    std::string why;  // a few words for the user when refused: "lies outside the model's folder"
};

// Opens `path` (a path as the reader formed it, or a file: URL) when it is the model itself or a
// regular file in the model's folder or below it. The checks hold for the descriptor that was
// opened, so that a link swapped in meanwhile cannot lead outside; a named pipe is never opened.
SideFile OpenSideFile(const ModelFolder& where, const std::string& path);

}  // namespace korvane
