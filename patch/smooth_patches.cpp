#include "patch/smooth_patches.h"

#include <cstddef>

#include "patch/bezier_net.h"
#include "patch/double_vec3.h"
#include "patch/patch_facing.h"

namespace korvane {
namespace {

// The field a side of a piece fits its cross-boundary derivative to, in the side's own direction;
// none where the side keeps its own derivative.
struct SideField {
    bool shared = false;
    DoubleVec3 start;
    DoubleVec3 end;
};

SideField FieldOfSide(const CurveField& field, bool forward) {
    if (field.crease != CreaseReason::kNone) {
        return {};
    }
    const DoubleVec3 start = Widen(field.start);
    const DoubleVec3 end = Widen(field.end);
    return forward ? SideField{true, start, end} : SideField{true, end, start};
}

SideField Reversed(const SideField& field) {
    return {field.shared, field.end, field.start};
}

struct EndFit {
    double k = 0.0;
    double h = 0.0;
};

// k and h that bring k g + h d closest to a, by the normal equations of the 2 x 2 least-squares
// problem. Where g and d do not span a plane (one of them zero, or both along one line), the
// part of a along the one that is left.
EndFit FitEnd(const DoubleVec3& a, const DoubleVec3& g, const DoubleVec3& d) {
    const double gg = Dot(g, g);
    const double gd = Dot(g, d);
    const double dd = Dot(d, d);
    const double ga = Dot(g, a);
    const double da = Dot(d, a);
    const double determinant = gg * dd - gd * gd;
    if (determinant > 1e-12 * gg * dd) {
        return {(ga * dd - da * gd) / determinant, (da * gg - ga * gd) / determinant};
    }
    if (gg > 0.0) {
        return {ga / gg, 0.0};
    }
    if (dd > 0.0) {
        return {0.0, da / dd};
    }
    return {};
}

using Cubic = std::array<DoubleVec3, 4>;

// The Bezier coefficients A0..A3 of the derivative across a side c0..c3, into the patch. before
// and after are the border points next to c0 and to c3 on the neighbouring sides, which fix the
// derivative at the corners: a0 = 3 (before - c0), a3 = 3 (after - c3). A shared field gives
// a(t) = k(t) g(t) + h(t) c'(t) fitted to a0 and a3: k g is quadratic and h c' cubic, both raised
// to cubic Bernstein form. Without one the derivative runs from a0 to a3 as the nets' does.
Cubic CrossDerivative(const Cubic& c, const DoubleVec3& before, const DoubleVec3& after,
                      const SideField& field) {
    const DoubleVec3 a0 = 3.0 * (before - c[0]);
    const DoubleVec3 a3 = 3.0 * (after - c[3]);
    if (!field.shared) {
        return {a0, a0, a3, a3};
    }
    const DoubleVec3 d0 = 3.0 * (c[1] - c[0]);
    const DoubleVec3 d1 = 3.0 * (c[2] - c[1]);
    const DoubleVec3 d2 = 3.0 * (c[3] - c[2]);
    const DoubleVec3& g0 = field.start;
    const DoubleVec3& g1 = field.end;
    const EndFit s = FitEnd(a0, g0, d0);
    const EndFit e = FitEnd(a3, g1, d2);
    constexpr double kThird = 1.0 / 3.0;
    return {s.k * g0 + s.h * d0,
            kThird * (s.k * (g0 + g1) + e.k * g0) + kThird * (2.0 * s.h * d1 + e.h * d0),
            kThird * (e.k * (g0 + g1) + s.k * g1) + kThird * (s.h * d2 + 2.0 * e.h * d1),
            e.k * g1 + e.h * d2};
}

// The cubic with Bezier coefficients a split at its middle by de Casteljau: the first half and
// the second, each over its own parameter from 0 to 1 and scaled by `scale`.
std::array<Cubic, 2> Halves(const Cubic& a, double scale) {
    const DoubleVec3 middle = 0.125 * (a[0] + 3.0 * (a[1] + a[2]) + a[3]);
    return {Cubic{scale * a[0], 0.5 * scale * (a[0] + a[1]),
                  0.25 * scale * (a[0] + 2.0 * a[1] + a[2]), scale * middle},
            Cubic{scale * middle, 0.25 * scale * (a[1] + 2.0 * a[2] + a[3]),
                  0.5 * scale * (a[2] + a[3]), scale * a[3]}};
}

DoubleVec3 BorderPoint(const GregoryPatch& piece, int k) {
    return Widen(piece.border[static_cast<std::size_t>(k % 12)]);
}

Cubic SidePoints(const GregoryPatch& piece, int side) {
    return {BorderPoint(piece, 3 * side), BorderPoint(piece, 3 * side + 1),
            BorderPoint(piece, 3 * side + 2), BorderPoint(piece, 3 * side + 3)};
}

// The derivative across side `side` of piece fitted to field, from the derivatives that the
// neighbouring sides give its corners.
Cubic DerivativeAcross(const GregoryPatch& piece, int side, const SideField& field) {
    return CrossDerivative(SidePoints(piece, side), BorderPoint(piece, 3 * side + 11),
                           BorderPoint(piece, 3 * side + 4), field);
}

// The side's proposals for the inner points next to it: its second and third points moved in by
// a third of the inner coefficients of its cross-boundary derivative.
void Propose(GregoryPatch& piece, int side, const Cubic& across) {
    const Cubic points = SidePoints(piece, side);
    constexpr double kThird = 1.0 / 3.0;
    piece.inner[static_cast<std::size_t>(2 * side)] = Narrow(points[1] + kThird * across[1]);
    piece.inner[static_cast<std::size_t>(2 * side + 1)] = Narrow(points[2] + kThird * across[2]);
}

void CopyBorder(const BezierNet& net, GregoryPatch& piece) {
    for (int k = 0; k < 12; ++k) {
        const auto [u, v] = GregoryBorderCell(k);
        piece.border[static_cast<std::size_t>(k)] = net.Point(u, v);
    }
}

Cubic Widened(const std::array<PatchVec3, 4>& curve) {
    return {Widen(curve[0]), Widen(curve[1]), Widen(curve[2]), Widen(curve[3])};
}

void QuadPiece(const CurveFields& fields, const Patch& patch, const BezierNet& net,
               GregoryPatch& piece) {
    CopyBorder(net, piece);
    for (int s = 0; s < 4; ++s) {
        const SideField field =
            FieldOfSide(fields.segments[static_cast<std::size_t>(SegmentOf(patch, s))],
                        patch.forward[static_cast<std::size_t>(s)]);
        Propose(piece, s, DerivativeAcross(piece, s, field));
    }
}

// Piece k has the border of net k but for the inner curves' handles at the side midpoints:
// border[4] on its own inner curve k (from the midpoint of side k to the centre) and border[8] on
// inner curve k - 1, which it runs from the centre out. Its outer half-sides take the halves of
// their whole side's derivative, at half the size: the piece reaches half as far into the patch.
void TrianglePieces(const PatchObject& object, const CurveFields& fields, const Patch& patch,
                    const std::array<BezierNet, 3>& nets, std::array<GregoryPatch, 3>& pieces) {
    std::array<Cubic, 3> sides;
    for (int k = 0; k < 3; ++k) {
        sides[static_cast<std::size_t>(k)] = Widened(SideCurve(object, patch, k));
    }
    const DoubleVec3 centre = Widen(nets[0].Point(3, 3));
    std::array<DoubleVec3, 3> towardsMiddle;  // each inner curve's handle at the centre
    for (std::size_t k = 0; k < 3; ++k) {
        towardsMiddle[k] = Widen(nets[k].Point(3, 2)) - centre;
    }
    // The three handles sum to zero, so they lie in one plane.
    const DoubleVec3 centreNormal =
        Unit(Cross(towardsMiddle[0], towardsMiddle[1]) + Cross(towardsMiddle[1], towardsMiddle[2]) +
             Cross(towardsMiddle[2], towardsMiddle[0]));

    std::array<std::array<Cubic, 2>, 3> halfAcross;
    std::array<PatchVec3, 3> middleHandle;
    std::array<SideField, 3> innerFields;
    for (std::size_t k = 0; k < 3; ++k) {
        const Cubic& side = sides[k];
        const SideField field = FieldOfSide(
            fields.segments[static_cast<std::size_t>(SegmentOf(patch, static_cast<int>(k)))],
            patch.forward[k]);
        const Cubic across =
            CrossDerivative(side, sides[(k + 2) % 3][2], sides[(k + 1) % 3][1], field);
        halfAcross[k] = Halves(across, 0.5);
        const DoubleVec3 acrossMiddle = halfAcross[k][1][0];
        const DoubleVec3 alongMiddle = (side[3] + side[2]) - (side[1] + side[0]);
        // The border derivative at the midpoint is 3 (handle - midpoint).
        middleHandle[k] = Narrow(Widen(nets[k].Point(3, 0)) + (1.0 / 3.0) * acrossMiddle);
        const std::array<PatchVec3, 4> innerCurve = {nets[k].Point(3, 0), middleHandle[k],
                                                     nets[k].Point(3, 2), nets[k].Point(3, 3)};
        innerFields[k] =
            FieldOfSide(FieldAcross(innerCurve, Narrow(Unit(Cross(alongMiddle, acrossMiddle))),
                                    Narrow(centreNormal)),
                        true);
    }
    for (std::size_t k = 0; k < 3; ++k) {
        const std::size_t previous = (k + 2) % 3;
        GregoryPatch& piece = pieces[k];
        CopyBorder(nets[k], piece);
        piece.border[4] = middleHandle[k];
        piece.border[8] = middleHandle[previous];
        Propose(piece, 0, halfAcross[k][0]);
        Propose(piece, 1, DerivativeAcross(piece, 1, innerFields[k]));
        Propose(piece, 2, DerivativeAcross(piece, 2, Reversed(innerFields[previous])));
        Propose(piece, 3, halfAcross[previous][1]);
    }
}

}  // namespace

int SmoothPieces(const PatchObject& object, const CurveFields& fields, const Patch& patch,
                 std::array<GregoryPatch, 3>& pieces) {
    std::array<BezierNet, 3> nets;
    const int count = SurfaceNets(object, patch, nets);
    if (count == 1) {
        QuadPiece(fields, patch, nets[0], pieces[0]);
    } else if (count == 3) {
        TrianglePieces(object, fields, patch, nets, pieces);
    }
    return count;
}

int SampleSmoothPatch(const PatchObject& object, const CurveFields& fields, const Patch& patch,
                      std::int32_t surfaceResolution,
                      std::array<std::vector<SurfaceSample>, 3>& grids) {
    std::array<GregoryPatch, 3> pieces;
    const int count = SmoothPieces(object, fields, patch, pieces);
    const int steps = SurfaceNetSteps(count, surfaceResolution);
    for (int k = 0; k < count; ++k) {
        SampleGregoryGrid(pieces[static_cast<std::size_t>(k)], steps,
                          grids[static_cast<std::size_t>(k)]);
    }
    return count;
}

}  // namespace korvane
