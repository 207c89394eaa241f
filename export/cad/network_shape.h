#pragma once

// The network's headers come before OpenCASCADE's, whose Handle macro would otherwise rewrite
// SplineNode::Handle.
#include "patch/patch_object.h"

#include <TopoDS_Shape.hxx>

#include <cstdint>

namespace korvane {

// The patches of one object as OpenCASCADE topology.
struct ObjectShape {
    TopoDS_Shape shape;               // null when no face was made
    std::int64_t faces = 0;           // one per four-sided patch, three per three-sided one
    std::int64_t patchesLeftOut = 0;  // degenerate: corners at one place, or poles not finite
};

// Every four-sided patch becomes one face on the bicubic Bezier surface of its net (QuadNet), and
// every three-sided one the three faces of its three nets (TriangleNets): the surfaces that the
// view draws, pole for pole, with Z reversed into the axes of other programs. The topology comes
// from the network itself: each spline segment under a patch side is one edge on its cubic curve,
// shared by the faces on both sides; a segment under a triangle is cut at its midpoint into two
// edges, which a quad on the other side uses too; a triangle's inner borders are edges between its
// nets. Patches face alike as TurnedPatches turns them (a closed piece outwards).
//
// Patches joined across edges between exactly two faces make a piece, and each piece is one shell
// (where three or more faces meet at an edge, each side is a shell of its own, so that every shell
// is a manifold); a closed one (every edge between two of its faces) becomes a solid. One piece is
// the shape itself, several make a compound. A patch with two corners at the same place (a
// collapsed side) or a pole that is not finite is left out and counted. The patches must be
// current.
//
// With smoothSurfaces the faces hold the smooth surfaces instead (BuildSmoothPieceSurface), whose
// borders are the same curves but for a triangle's inner borders, which follow the pieces'.
ObjectShape BuildObjectShape(const PatchObject& object, bool smoothSurfaces = false);

}  // namespace korvane
