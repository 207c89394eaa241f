#pragma once

#include "mesh/mesh_operations.h"
#include "mesh/poly_mesh.h"

// The step that lets a modifier run in place (internal to mesh/).

namespace korvane::mesh_detail {

// Runs modify(source, target). A modifier clears its target before it reads the source, so when
// the two are one mesh it reads a private copy of that mesh, geometry and settings, instead.
template <class Modify>
void WithSeparateSource(PolyMesh& source, PolyMesh& target, Modify modify) {
    if (&source != &target) {
        modify(source, target);
        return;
    }
    PolyMesh copy;
    CopyGeometry(source, copy);
    CopySettings(source, copy);
    modify(copy, target);
}

}  // namespace korvane::mesh_detail
