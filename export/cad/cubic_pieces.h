#pragma once

#include <gp_Pnt.hxx>

#include <array>

namespace korvane {

// The four poles of a cubic Bezier curve in double precision.
using CubicPoles = std::array<gp_Pnt, 4>;

// The poles of the piece of the cubic between parameters a and b, run from a to b (backwards when
// b < a), by blossoming. The pieces [0, 1] and [1, 0] give the poles themselves bit for bit.
CubicPoles CubicPiece(const CubicPoles& poles, double a, double b);

// The largest distance between corresponding poles: no point of one cubic lies further than this
// from the point of the other at the same parameter.
double MaxPoleDistance(const CubicPoles& first, const CubicPoles& second);

}  // namespace korvane
