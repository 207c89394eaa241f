#pragma once

#include <cstdint>

#include "import/object_sink.h"
#include "mesh/poly_mesh.h"

namespace korvane {

// The common tail of the readers, for a mesh whose faces are sorted into lines, triangles and
// quads: drops the faces that name a vertex out of range, derives the edges, bakes in lathe and
// mirror, and appends a new object to the sink with the mesh's name and colour, one control point
// per vertex and one spline per edge, handles computed. Leaves the mesh without geometry.
struct FinishedObject {
    std::int32_t droppedFaces = 0;  // faces that named a vertex out of range
    std::int32_t outlineFaces = 0;  // faces of five or more corners kept as outlines
    bool latheLeftOut = false;      // the lathe would have outgrown memory; the object is unswept
};
FinishedObject FinishObject(PolyMesh& mesh, ObjectSink& sink);

}  // namespace korvane
