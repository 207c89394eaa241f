#pragma once

#include "mesh/poly_mesh.h"
#include "patch/patch_object.h"
#include "patch/run_control.h"

namespace korvane {

// One control point per vertex (in vertex order) and one open two-node spline per edge (in edge
// order, from the edge's first to its second vertex). An edge naming a vertex out of range is
// skipped. The object is expected to be empty.
void BuildFromMesh(const PolyMesh& mesh, PatchObject& object);

// Overwrites handleIn and handleOut of every node from the positions of its neighbours.
void ComputeHandles(PatchObject& object);

// Rebuilds the patch list from every closed loop of three, then four, spline segments and sets
// marks the patches valid.
void DetectPatches(PatchObject& object);

// The same search, reporting the splines searched so far of PatchSearchLength(object) and asking
// cancelled every few hundred splines. False when cancelled stopped it: the object is then left
// with no patches and patchesValid clear.
bool DetectPatches(PatchObject& object, const ProgressReceiver& progress,
                   const CancelCheck& cancelled);
// The search's whole length in its progress unit: every spline once for triangles, once for quads.
std::int32_t PatchSearchLength(const PatchObject& object);

}  // namespace korvane
