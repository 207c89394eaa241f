#include "export/cad/cubic_pieces.h"

#include <algorithm>

namespace korvane {
namespace {

// (1 - t) p + t q, which is p at t = 0 and q at t = 1 exactly.
gp_Pnt Between(const gp_Pnt& p, const gp_Pnt& q, double t) {
    const double s = 1.0 - t;
    return gp_Pnt(s * p.X() + t * q.X(), s * p.Y() + t * q.Y(), s * p.Z() + t * q.Z());
}

// The cubic's blossom at (t1, t2, t3): de Casteljau with a parameter of its own at each level.
gp_Pnt Blossom(const CubicPoles& p, double t1, double t2, double t3) {
    const gp_Pnt a = Between(p[0], p[1], t1);
    const gp_Pnt b = Between(p[1], p[2], t1);
    const gp_Pnt c = Between(p[2], p[3], t1);
    return Between(Between(a, b, t2), Between(b, c, t2), t3);
}

}  // namespace

CubicPoles CubicPiece(const CubicPoles& poles, double a, double b) {
    return {Blossom(poles, a, a, a), Blossom(poles, a, a, b), Blossom(poles, a, b, b),
            Blossom(poles, b, b, b)};
}

double MaxPoleDistance(const CubicPoles& first, const CubicPoles& second) {
    double largest = 0.0;
    for (std::size_t i = 0; i < first.size(); ++i) {
        largest = std::max(largest, first[i].Distance(second[i]));
    }
    return largest;
}

}  // namespace korvane
