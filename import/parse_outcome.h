#pragma once

#include <cstdint>
#include <functional>

#include "mesh/poly_mesh.h"

namespace korvane {

// Receives each object's complete mesh, in file order, with its faces sorted into lines, triangles
// and quads. The receiver may empty the mesh; the parser does not use it afterwards.
using MeshHandler = std::function<void(PolyMesh&)>;

struct ParseOutcome {
    bool recognised = true;  // false: not the parser's kind of file, and nothing was handed over
    bool truncated = false;  // the bytes ended inside a chunk; what came before was handed over
    // Binary vertex blocks whose vertex count and byte count disagree (the smaller was read).
    std::int32_t vertexBlocksMismatched = 0;
    // Objects kept unmirrored: the file gives a mirror mode other than 0, 1 or 2.
    std::int32_t mirrorsLeftOut = 0;
};

}  // namespace korvane
