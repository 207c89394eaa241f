#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "import/assimp_handback.h"
#include "import/import_status.h"
#include "import/object_sink.h"

// Models of every other modeller (OBJ, FBX, glTF, COLLADA, PLY, STL, 3DS, ...) read through
// assimp. The parsing runs in the helper program korvane-assimp, a process of its own, so that a
// crash, an endless loop or a runaway allocation in a third-party parser costs the import and
// never the document; the helper hands the welded meshes back through a pipe and this side
// checks them whole before it adds anything.

namespace korvane {

struct AssimpImportOptions {
    float scale = 1.0f;                                  // a point (x, y, z) becomes (sx, sy, -sz)
    std::chrono::milliseconds timeout{30'000};           // then the helper is stopped
    std::uint64_t memoryLimit = std::uint64_t{4} << 30;  // the helper's address space, in bytes
    std::string helperPath = {};                         // empty: FindAssimpHelper()
};

// Imports one file: every mesh that a node of the scene uses becomes one object, the node's
// accumulated transform applied, named after the node (after the mesh when the node has no name,
// after the file when neither has), coloured with its material's diffuse colour. Vertices at
// exactly the same position are welded; quads stay quads, faces of five or more corners are kept
// as outlines, two-point primitives become lines, points are left out. Objects are added only
// when the helper's whole hand-back arrived and is valid; on any other status nothing is added.
// assimp reads only regular files in the model's folder and below: a side file that the model
// names elsewhere, or that is a device, a pipe or a socket, is not read, and the import goes on
// without it if the format allows (counted in sideFilesRefused). `detail`, when given, receives a
// line on what went wrong (assimp's own words for a refused file, after the side files that were
// not read), or on an import the side files that were not read, or is cleared.
//   kCannotOpen           the file cannot be opened for reading
//   kAssimpRefused        assimp does not read this kind of file, or found it malformed
//   kImporterCrashed      the helper died, or handed back bytes that are not a valid hand-back
//   kImporterTimedOut     the helper did not finish within options.timeout and was stopped
//   kImporterOutOfMemory  the helper needed more than options.memoryLimit and was stopped, or
//                         the model goes beyond kHandBackBudget (the detail gives the count)
//   kImporterMissing      the helper program could not be found or started
ImportResult ImportThroughAssimp(const std::string& path, ObjectSink& sink,
                                 const AssimpImportOptions& options = {},
                                 std::string* detail = nullptr);

// What ImportThroughAssimp does with the bytes of a helper that exited normally: decodes them
// whole, then adds one object per mesh (named `title` when the mesh has no name). Nothing is added
// for bytes that are not a valid hand-back within `budget` (kImporterCrashed), that carry
// assimp's refusal (kAssimpRefused) or the helper's word that the model is beyond the budget
// (kImporterOutOfMemory).
ImportResult ImportHandBack(std::string_view bytes, const std::string& title, float scale,
                            ObjectSink& sink, std::string* detail = nullptr,
                            const HandBackBudget& budget = kHandBackBudget);

// The extensions assimp reads, lower case without the dot ("3ds", "obj", ...), asked of the
// helper; empty when it cannot be started. Each call starts the helper: keep the list.
std::vector<std::string> AssimpExtensions(const AssimpImportOptions& options = {});

// The helper program: korvane-assimp beside the running executable (/proc/self/exe), else the one
// in the build tree this library was built in; empty when neither is there.
std::string FindAssimpHelper();

}  // namespace korvane
