#pragma once

#include "mesh/poly_mesh.h"

namespace korvane {

// Operations that write derived or modified geometry into one target mesh. Operations that take a
// source read only from it (except building its edges or face lists when they are not valid). A
// source may be the target itself.
// Bad records never index an array: a line, triangle or quad with a corner out of range is skipped
// (and left out of any result), as is an edge with equal or out-of-range ends; the corner count
// used is the list's (2, 3, 4), not the record's cornerCount field.

// Derives the edge list from lines, then triangles, then quads; each unordered vertex pair once,
// oriented as first met; no zero-length edges. Faces naming a vertex out of range give no edges.
void BuildEdges(PolyMesh& mesh);
// Per vertex, ascending indices of the triangles and quads using it, once per corner.
void BuildVertexFaceLists(PolyMesh& mesh);
// Empties vertices, edges and every face list; keeps name, colour and settings.
void ClearGeometry(PolyMesh& mesh);
void CopyGeometry(PolyMesh& source, PolyMesh& target);
void CopySettings(const PolyMesh& source, PolyMesh& target);
// Lathe, then mirror across X, Y and Z as the mesh's settings say; the result replaces the mesh's
// geometry and both modifiers are switched off.
void ApplyModifiers(PolyMesh& mesh);
// Sweeps the source's lines around the lathe axis into the target. Fewer than 3 segments count as
// 3; lines from a vertex to itself take no part. A result over mesh_detail::kMaxElements vertices,
// edges or quads leaves a plain copy of the source instead.
void Lathe(PolyMesh& source, PolyMesh& target);
// Axis 0 X, 1 Y, any other value Z. Same size cap as Lathe: over it, a plain copy.
void Mirror(PolyMesh& source, PolyMesh& target, Axis axis);

}  // namespace korvane
