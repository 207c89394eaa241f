#include "export/cad/smooth_piece_surface.h"

#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <gp_Pnt.hxx>
#include <gp_Vec.hxx>

#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <optional>
#include <utility>

#include "patch/double_vec3.h"

namespace korvane {
namespace {

constexpr int kPoles = 6;
constexpr double kLargestKnot = 0.25;
constexpr double kSmallestKnot = 0x1p-14;  // about 6e-5
constexpr int kHalvings = 12;
constexpr int kFitSamples = 10;  // per direction, for the central poles
constexpr int kSideSamples = 24;

using Cubic = std::array<DoubleVec3, 4>;
using Poles = std::array<std::array<DoubleVec3, kPoles>, kPoles>;  // [u][v]

double Degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

// The blossom of a cubic Bezier curve at (a, b, c), by de Casteljau with one parameter per level.
DoubleVec3 Blossom(const Cubic& p, double a, double b, double c) {
    std::array<DoubleVec3, 3> first;
    for (std::size_t k = 0; k < 3; ++k) {
        first[k] = (1.0 - a) * p[k] + a * p[k + 1];
    }
    const DoubleVec3 second0 = (1.0 - b) * first[0] + b * first[1];
    const DoubleVec3 second1 = (1.0 - b) * first[1] + b * first[2];
    return (1.0 - c) * second0 + c * second1;
}

// Pole k of the cubic once h and 1 - h are inserted: its blossom at knots k + 1 .. k + 3.
DoubleVec3 InsertedPole(const Cubic& p, double h, int k) {
    const std::array<double, 10> t{0.0, 0.0, 0.0, 0.0, h, 1.0 - h, 1.0, 1.0, 1.0, 1.0};
    const auto i = static_cast<std::size_t>(k);
    return Blossom(p, t[i + 1], t[i + 2], t[i + 3]);
}

// The six cubic B-spline functions of the knots at u, by Cox and de Boor; u in [0, 1).
std::array<double, kPoles> Basis(double h, double u) {
    const std::array<double, 10> t{0.0, 0.0, 0.0, 0.0, h, 1.0 - h, 1.0, 1.0, 1.0, 1.0};
    std::array<double, 9> n{};
    for (std::size_t i = 0; i < n.size(); ++i) {
        n[i] = t[i] <= u && u < t[i + 1] ? 1.0 : 0.0;
    }
    for (std::size_t degree = 1; degree <= 3; ++degree) {
        for (std::size_t i = 0; i + degree < n.size(); ++i) {
            const double left = t[i + degree] - t[i];
            const double right = t[i + degree + 1] - t[i + 1];
            n[i] = (left > 0.0 ? (u - t[i]) / left * n[i] : 0.0) +
                   (right > 0.0 ? (t[i + degree + 1] - u) / right * n[i + 1] : 0.0);
        }
    }
    return {n[0], n[1], n[2], n[3], n[4], n[5]};
}

DoubleVec3 Border(const GregoryPatch& piece, int k) {
    return Widen(piece.border[static_cast<std::size_t>(k % 12)]);
}

// Side s of the piece (see GregoryPatch) and the Bezier coefficients of its derivative into the
// piece, which the side's own proposals give.
struct Side {
    Cubic curve;
    Cubic across;
};

Side SideOf(const GregoryPatch& piece, int s) {
    const Cubic curve{Border(piece, 3 * s), Border(piece, 3 * s + 1), Border(piece, 3 * s + 2),
                      Border(piece, 3 * s + 3)};
    const Cubic row{Border(piece, 3 * s + 11), Widen(piece.inner[static_cast<std::size_t>(2 * s)]),
                    Widen(piece.inner[static_cast<std::size_t>(2 * s + 1)]),
                    Border(piece, 3 * s + 4)};
    Side side{curve, {}};
    for (std::size_t k = 0; k < 4; ++k) {
        side.across[k] = 3.0 * (row[k] - curve[k]);
    }
    return side;
}

// The grid place of pole k along side s, `depth` rows in from it.
std::array<std::size_t, 2> PlaceOnSide(int s, int k, int depth) {
    const int last = kPoles - 1;
    switch (s) {
        case 0:
            return {static_cast<std::size_t>(k), static_cast<std::size_t>(depth)};
        case 1:
            return {static_cast<std::size_t>(last - depth), static_cast<std::size_t>(k)};
        case 2:
            return {static_cast<std::size_t>(last - k), static_cast<std::size_t>(last - depth)};
        default:
            return {static_cast<std::size_t>(depth), static_cast<std::size_t>(last - k)};
    }
}

bool IsCentral(std::size_t i, std::size_t j) {
    return i >= 2 && i <= 3 && j >= 2 && j <= 3;
}

// Solves the symmetric positive system a x = b for the four central poles, by Gaussian
// elimination; false where it is singular.
bool Solve(std::array<std::array<double, 4>, 4> a, std::array<DoubleVec3, 4>& b) {
    for (std::size_t col = 0; col < 4; ++col) {
        if (!(std::fabs(a[col][col]) > 1e-300)) {
            return false;
        }
        for (std::size_t row = col + 1; row < 4; ++row) {
            const double factor = a[row][col] / a[col][col];
            for (std::size_t k = col; k < 4; ++k) {
                a[row][k] -= factor * a[col][k];
            }
            b[row] = b[row] - factor * b[col];
        }
    }
    for (std::size_t col = 4; col-- > 0;) {
        DoubleVec3 sum = b[col];
        for (std::size_t k = col + 1; k < 4; ++k) {
            sum = sum - a[col][k] * b[k];
        }
        b[col] = (1.0 / a[col][col]) * sum;
    }
    return true;
}

// The four central poles that bring the surface closest to the Gregory patch at a grid of
// samples inside it, the other poles as they are; false where the fit has no solution.
bool FitCentre(const GregoryPatch& piece, double h, Poles& q) {
    constexpr std::array<std::array<std::size_t, 2>, 4> kCentre{{{2, 2}, {3, 2}, {2, 3}, {3, 3}}};
    std::array<std::array<double, 4>, 4> normal{};
    std::array<DoubleVec3, 4> right{};
    for (int a = 0; a < kFitSamples; ++a) {
        const double u = (a + 0.5) / kFitSamples;
        const std::array<double, kPoles> bu = Basis(h, u);
        for (int b = 0; b < kFitSamples; ++b) {
            const double v = (b + 0.5) / kFitSamples;
            const std::array<double, kPoles> bv = Basis(h, v);
            const Vec3 g =
                EvaluateGregory(piece, static_cast<float>(u), static_cast<float>(v)).position;
            DoubleVec3 rest{g.x, g.y, g.z};
            for (std::size_t i = 0; i < kPoles; ++i) {
                for (std::size_t j = 0; j < kPoles; ++j) {
                    if (!IsCentral(i, j)) {
                        rest = rest - bu[i] * bv[j] * q[i][j];
                    }
                }
            }
            std::array<double, 4> weight;
            for (std::size_t c = 0; c < 4; ++c) {
                weight[c] = bu[kCentre[c][0]] * bv[kCentre[c][1]];
            }
            for (std::size_t r = 0; r < 4; ++r) {
                for (std::size_t c = 0; c < 4; ++c) {
                    normal[r][c] += weight[r] * weight[c];
                }
                right[r] = right[r] + weight[r] * rest;
            }
        }
    }
    if (!Solve(normal, right)) {
        return false;
    }
    for (std::size_t c = 0; c < 4; ++c) {
        q[kCentre[c][0]][kCentre[c][1]] = right[c];
    }
    return true;
}

std::optional<Poles> PolesFor(const GregoryPatch& piece, double h) {
    Poles q{};
    std::array<std::array<int, kPoles>, kPoles> proposals{};
    for (int s = 0; s < 4; ++s) {
        const Side side = SideOf(piece, s);
        for (int k = 0; k < kPoles; ++k) {
            const auto [i, j] = PlaceOnSide(s, k, 0);
            q[i][j] = InsertedPole(side.curve, h, k);
        }
    }
    // The rows next to the sides: their end poles lie on the neighbouring sides.
    Poles sums{};
    for (int s = 0; s < 4; ++s) {
        const Side side = SideOf(piece, s);
        for (int k = 1; k < kPoles - 1; ++k) {
            const auto [ei, ej] = PlaceOnSide(s, k, 0);
            const auto [i, j] = PlaceOnSide(s, k, 1);
            sums[i][j] = sums[i][j] + q[ei][ej] + (h / 3.0) * InsertedPole(side.across, h, k);
            ++proposals[i][j];
        }
    }
    for (std::size_t i = 1; i < kPoles - 1; ++i) {
        for (std::size_t j = 1; j < kPoles - 1; ++j) {
            if (proposals[i][j] > 0) {
                q[i][j] = (1.0 / proposals[i][j]) * sums[i][j];
            }
        }
    }
    if (!FitCentre(piece, h, q)) {
        return std::nullopt;
    }
    return q;
}

// Z reversed, as the rest of the file.
gp_Pnt FilePoint(const DoubleVec3& p) {
    return gp_Pnt(p.x, p.y, -p.z);
}

Handle(Geom_BSplineSurface) MakeSurface(const Poles& q, double h) {
    TColgp_Array2OfPnt poles(1, kPoles, 1, kPoles);
    for (std::size_t i = 0; i < kPoles; ++i) {
        for (std::size_t j = 0; j < kPoles; ++j) {
            const DoubleVec3& p = q[i][j];
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
                return nullptr;
            }
            poles(static_cast<int>(i) + 1, static_cast<int>(j) + 1) = FilePoint(p);
        }
    }
    TColStd_Array1OfReal knots(1, 4);
    knots(1) = 0.0;
    knots(2) = h;
    knots(3) = 1.0 - h;
    knots(4) = 1.0;
    TColStd_Array1OfInteger multiplicities(1, 4);
    multiplicities(1) = 4;
    multiplicities(2) = 1;
    multiplicities(3) = 1;
    multiplicities(4) = 4;
    return new Geom_BSplineSurface(poles, knots, knots, multiplicities, multiplicities, 3, 3);
}

// The largest angle between the surface's normals and the Gregory patch's along the four sides,
// corners left out: at the side parameters of a uniform grid and of one that crowds towards the
// corners, where the mean poles act.
double SideDeviationDegrees(const GregoryPatch& piece, const Geom_BSplineSurface& surface,
                            double h) {
    double worst = 0.0;
    const auto check = [&](double t) {
        if (!(t > 0.0 && t < 1.0)) {
            return;
        }
        const std::array<std::array<double, 2>, 4> places{{{t, 0.0}, {1.0, t}, {t, 1.0}, {0.0, t}}};
        for (const auto& [u, v] : places) {
            const GregoryPoint g =
                EvaluateGregory(piece, static_cast<float>(u), static_cast<float>(v));
            // The mirror of Z turns the normal of the file's surface against the mirrored one.
            const DoubleVec3 mirrored = Cross(DoubleVec3{g.alongU.x, g.alongU.y, g.alongU.z},
                                              DoubleVec3{g.alongV.x, g.alongV.y, g.alongV.z});
            const DoubleVec3 expected{-mirrored.x, -mirrored.y, mirrored.z};
            gp_Pnt point;
            gp_Vec du;
            gp_Vec dv;
            surface.D1(u, v, point, du, dv);
            const gp_Vec n = du.Crossed(dv);
            const DoubleVec3 actual{n.X(), n.Y(), n.Z()};
            if (IsZero(Unit(actual)) || IsZero(Unit(expected))) {
                continue;
            }
            const DoubleVec3 a = Unit(actual);
            const DoubleVec3 e = Unit(expected);
            const DoubleVec3 c = Cross(a, e);
            worst = std::fmax(worst, Degrees(std::atan2(std::sqrt(Dot(c, c)), Dot(a, e))));
        }
    };
    for (int k = 1; k < kSideSamples; ++k) {
        check(static_cast<double>(k) / kSideSamples);
    }
    for (const double near : {0.25, 0.5, 1.0, 1.5, 2.0, 3.0, 5.0}) {
        check(near * h);
        check(1.0 - near * h);
    }
    return worst;
}

// The knot at which the normals would part from the Gregory patch's by kSmoothSideDegrees on the
// estimate that the mean pole next to a corner bends the normal along each side there by at most
// 1.5 h |n . (F1 - F2)| / |a|, F1 and F2 being the two proposals for the inner point next to the
// corner, n the corner's normal and a the side's cross-boundary derivative there, perpendicular to
// the side. At most kLargestKnot; the estimate is checked by sampling all the same.
double FirstKnot(const GregoryPatch& piece) {
    constexpr double kAllowance = kSmoothSideDegrees * std::numbers::pi / 180.0;
    double h = kLargestKnot;
    for (int corner = 0; corner < 4; ++corner) {
        const Side leaving = SideOf(piece, corner);
        const Side arriving = SideOf(piece, (corner + 3) % 4);
        const DoubleVec3 along = leaving.curve[1] - leaving.curve[0];
        const DoubleVec3 back = arriving.curve[2] - arriving.curve[3];
        const DoubleVec3 normal = Unit(Cross(along, back));
        const DoubleVec3 mismatch =
            Widen(piece.inner[static_cast<std::size_t>(2 * corner)]) -
            Widen(piece.inner[static_cast<std::size_t>((2 * corner + 7) % 8)]);
        const double bend = 1.5 * std::fabs(Dot(normal, mismatch));
        // Each side's derivative at the corner runs along the other side.
        for (const auto& [side, across] : {std::pair{along, back}, std::pair{back, along}}) {
            const DoubleVec3 unitSide = Unit(side);
            const DoubleVec3 perpendicular = 3.0 * (across - Dot(across, unitSide) * unitSide);
            const double reach = std::sqrt(Dot(perpendicular, perpendicular));
            if (bend * h > kAllowance * reach) {
                h = kAllowance * reach / bend;
            }
        }
    }
    return h;
}

}  // namespace

SmoothPieceSurface BuildSmoothPieceSurface(const GregoryPatch& piece) {
    SmoothPieceSurface result;
    double h = FirstKnot(piece);
    for (int attempt = 0; attempt <= kHalvings && h >= kSmallestKnot; ++attempt, h *= 0.5) {
        const std::optional<Poles> poles = PolesFor(piece, h);
        Handle(Geom_BSplineSurface) surface = poles ? MakeSurface(*poles, h) : nullptr;
        if (surface.IsNull()) {
            return {};
        }
        const double deviation = SideDeviationDegrees(piece, *surface, h);
        if (result.surface.IsNull() || deviation < result.sideDegrees) {
            result = {surface, h, deviation};
        }
        if (deviation <= kSmoothSideDegrees) {
            break;
        }
    }
    return result;
}

}  // namespace korvane
