#pragma once

#include "mesh/poly_mesh.h"

namespace korvane {

// Operations that write derived or modified geometry into one target mesh. Operations that take a
// source read only from it (except building its edges or face lists when they are not valid).
// Every operation does nothing while the editor is unbound. A source may be the target itself.
// Bad records never index an array: a line, triangle or quad with a corner out of range is skipped
// (and left out of any result), as is an edge with equal or out-of-range ends; the corner count
// used is the list's (2, 3, 4), not the record's cornerCount field.
class MeshEditor {
  public:
    MeshEditor() = default;
    explicit MeshEditor(PolyMesh* target) : target_(target) {}

    void Bind(PolyMesh* target) { target_ = target; }
    PolyMesh* target() const { return target_; }

    // Derives the edge list from lines, then triangles, then quads; each unordered vertex pair
    // once, oriented as first met; no zero-length edges. Faces naming a vertex out of range give no
    // edges.
    void BuildEdges();
    // Per vertex, ascending indices of the triangles and quads using it, once per corner.
    void BuildVertexFaceLists();
    // Empties vertices, edges and every face list; keeps name, colour and settings.
    void ClearGeometry();
    void CopyGeometryFrom(PolyMesh& source);
    void CopySettingsFrom(const PolyMesh& source);
    // Lathe, then mirror across X, Y and Z as the target's settings say; the result replaces the
    // target's geometry and both modifiers are switched off.
    void ApplyModifiers();
    // Sweeps the source's lines around the lathe axis. Fewer than 3 segments count as 3; lines from
    // a vertex to itself take no part. A result over mesh_detail::kMaxElements vertices, edges or
    // quads leaves a plain copy of the source instead.
    void Lathe(PolyMesh& source);
    // Axis 0 X, 1 Y, any other value Z. Same size cap as Lathe: over it, a plain copy.
    void Mirror(PolyMesh& source, int axis);

  private:
    PolyMesh* target_ = nullptr;
};

}  // namespace korvane
