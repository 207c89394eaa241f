#pragma once

#include <string>
#include <string_view>

#include "mesh/poly_mesh.h"

namespace korvane {

// The data of a LightWave chunk appended to a mesh. A polygon cut off by the end of its chunk is
// dropped; polygons of five or more corners are kept as their outlines (lines, no patch); single
// points are read past.

// "PNTS": x, y, z as big-endian floats, 12 bytes per point, taken unscaled.
void AppendPoints(PolyMesh& mesh, std::string_view data);

// LWOB "POLS"/"PCHS": per polygon a corner count, the 16-bit indices and a surface word; a
// negative surface word is followed by a count of detail polygons, which come next and are
// imported like the others. Appended to lines, triangles and quads; an outline whose corners name
// points the mesh does not have yet is dropped and counted.
void AppendLwobPolygons(PolyMesh& mesh, std::string_view data);

// LWO2 "POLS" data after the polygon type: per polygon a count word whose top six bits are flags,
// then variable-length indices (two bytes, or four when the first byte is 0xFF, of which the low
// 24 bits count). Appended to faces, with the corners of outlines in outlineCorners.
void AppendLwo2Polygons(PolyMesh& mesh, std::string_view data);

// LWO2 "LAYR": after number, flags and pivot (16 bytes), the bytes of the name up to the first
// NUL or blank, at most 255.
std::string LayerName(std::string_view data);

}  // namespace korvane
