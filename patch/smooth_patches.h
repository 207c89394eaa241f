#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "patch/curve_fields.h"
#include "patch/gregory_patch.h"
#include "patch/patch_object.h"
#include "patch/surface_sampling.h"

// The smooth surfaces: the same borders as the nets of SurfaceNets, with inner points chosen so
// that neighbouring patches share their tangent plane along every curve where the network is
// smooth (G1), instead of completing a parallelogram at each corner.
//
// Each side of a piece fits its cross-boundary derivative a(t) = k(t) g(t) + h(t) c'(t), k and h
// linear, to the derivatives its corners already have (the handles of the sides next to it), g
// being the field of the curve under it; both patches on a curve use the same field, so both
// derivatives lie in the same plane all along it. Each side proposes the two inner points next to
// it, and the Gregory patch blends each inner point's two proposals. A side on a crease (see
// CreaseReason) keeps the derivative that runs linearly between its corners' instead, which is
// what the nets of SurfaceNets give.
//
// A three-sided patch keeps the split of TriangleNets into three pieces round its centre. Each
// side's derivative is fitted over the whole side and split at its middle for the two pieces on
// it. The inner curve from the midpoint of side k to the centre leaves the midpoint along that
// side's derivative, so that it stays in the tangent plane there, and reaches the centre in the
// plane of the three inner curves; each inner curve has a field of its own, shared by the two
// pieces on it.

namespace korvane {

// The pieces that cover patch: one for four corners, three for three (piece k on the region of
// corner k, as net k of TriangleNets), none for any other count. Returns how many were filled.
int SmoothPieces(const PatchObject& object, const CurveFields& fields, const Patch& patch,
                 std::array<GregoryPatch, 3>& pieces);

// The samples SurfaceNets and SampleNetGrid would give for patch at surfaceResolution, from the
// smooth pieces instead: grids[k] holds piece k's grid at SurfaceNetSteps(count, resolution)
// steps, laid out as SampleNetGrid lays out a net's. Returns the count of pieces.
int SampleSmoothPatch(const PatchObject& object, const CurveFields& fields, const Patch& patch,
                      std::int32_t surfaceResolution,
                      std::array<std::vector<SurfaceSample>, 3>& grids);

}  // namespace korvane
