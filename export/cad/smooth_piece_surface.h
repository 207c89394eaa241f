#pragma once

// The network's headers come before OpenCASCADE's, whose Handle macro would otherwise rewrite
// SplineNode::Handle.
#include "patch/gregory_patch.h"

#include <Geom_BSplineSurface.hxx>

namespace korvane {

// How far apart, at most, the normals of one piece's surface and of its Gregory patch may lie
// along the piece's sides: a patch on either side of a curve may be off by this, so that the two
// faces part by less than 0.1 degrees.
inline constexpr double kSmoothSideDegrees = 0.045;

// A smooth piece as CAD programs take it. A Gregory patch is rational with zero weights at its
// corners, which their kernels refuse, so it goes out as a bicubic B-spline with the knots
// (0, 0, 0, 0, h, 1 - h, 1, 1, 1, 1) in both directions, 6 x 6 poles:
// - the border poles are the piece's border cubics with h and 1 - h inserted: the same curves, so
//   the faces on both sides of a curve still share it as an edge;
// - the first inner row along each side carries the side's cross-boundary derivative, so that the
//   face keeps the tangent plane the neighbour shares; the two poles next to a corner take the mean
//   of what the two sides there ask of them, a mismatch whose effect on the normal shrinks with h;
// - the four central poles are fitted to the Gregory surface by least squares.
// h is the largest (up to 1/4) for which the normals along every side stay within
// kSmoothSideDegrees of the Gregory patch's, as sampled; where none does, the h of the least
// deviation tried, down to 2^-14.
// Poles are in the file's axes: Z reversed.
struct SmoothPieceSurface {
    Handle(Geom_BSplineSurface) surface;
    double knot = 0.0;         // h
    double sideDegrees = 0.0;  // the largest normal deviation measured along the sides
};

// Nothing (a null surface) where a pole is not finite or the central poles have no fit.
SmoothPieceSurface BuildSmoothPieceSurface(const GregoryPatch& piece);

}  // namespace korvane
