#include "patch/tangent_planes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "patch/double_vec3.h"

namespace korvane {
namespace {

using Matrix3 = std::array<std::array<double, 3>, 3>;

// Calls visit(point, unit direction) for every tangent of every node: the handle that leads to
// the previous node and the one that leads to the next, where there is such a node.
template <class Visit>
void ForEachTangent(const PatchObject& object, const Visit& visit) {
    for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
        const std::int32_t first = object.SplineStarts()[static_cast<std::size_t>(spline)];
        const std::int32_t last = object.SplineStarts()[static_cast<std::size_t>(spline) + 1];
        for (std::int32_t n = first; n < last; ++n) {
            const SplineNode& node = object.Nodes()[static_cast<std::size_t>(n)];
            const DoubleVec3 point = Widen(object.PointOf(node));
            if (object.Predecessor(spline, n) >= 0) {
                const DoubleVec3 t = Unit(Widen(node.handleIn) - point);
                if (!IsZero(t)) {
                    visit(node.controlPoint, t);
                }
            }
            if (object.Successor(spline, n) >= 0) {
                const DoubleVec3 t = Unit(Widen(node.handleOut) - point);
                if (!IsZero(t)) {
                    visit(node.controlPoint, t);
                }
            }
        }
    }
}

// The unit eigenvector of the symmetric matrix a for its smallest eigenvalue, by Jacobi rotations.
DoubleVec3 SmallestEigenvector(Matrix3 a) {
    Matrix3 v{{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}};
    constexpr std::array<std::array<int, 2>, 3> kPairs{{{0, 1}, {0, 2}, {1, 2}}};
    for (int sweep = 0; sweep < 50; ++sweep) {
        const double off = a[0][1] * a[0][1] + a[0][2] * a[0][2] + a[1][2] * a[1][2];
        const double diagonal = a[0][0] * a[0][0] + a[1][1] * a[1][1] + a[2][2] * a[2][2];
        if (off <= 1e-32 * diagonal) {
            break;
        }
        for (const auto& [p, q] : kPairs) {
            if (a[p][q] == 0.0) {
                continue;
            }
            const double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
            const double t =
                (theta >= 0.0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
            const double c = 1.0 / std::sqrt(t * t + 1.0);
            const double s = t * c;
            for (int k = 0; k < 3; ++k) {
                const double kp = a[k][p];
                const double kq = a[k][q];
                a[k][p] = c * kp - s * kq;
                a[k][q] = s * kp + c * kq;
            }
            for (int k = 0; k < 3; ++k) {
                const double pk = a[p][k];
                const double qk = a[q][k];
                a[p][k] = c * pk - s * qk;
                a[q][k] = s * pk + c * qk;
            }
            for (int k = 0; k < 3; ++k) {
                const double kp = v[k][p];
                const double kq = v[k][q];
                v[k][p] = c * kp - s * kq;
                v[k][q] = s * kp + c * kq;
            }
        }
    }
    int smallest = 0;
    for (int k = 1; k < 3; ++k) {
        if (a[k][k] < a[smallest][smallest]) {
            smallest = k;
        }
    }
    return Unit({v[0][smallest], v[1][smallest], v[2][smallest]});
}

}  // namespace

std::vector<TangentPlane> FitTangentPlanes(const PatchObject& object) {
    const auto points = static_cast<std::size_t>(object.PointCount());
    // Sum of t t^T over each point's tangents; it vanishes along the plane's normal.
    std::vector<Matrix3> scatter(points, Matrix3{});
    std::vector<bool> touched(points, false);
    ForEachTangent(object, [&](std::int32_t point, const DoubleVec3& t) {
        Matrix3& m = scatter[static_cast<std::size_t>(point)];
        const std::array<double, 3> c{t.x, t.y, t.z};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                m[i][j] += c[i] * c[j];
            }
        }
        touched[static_cast<std::size_t>(point)] = true;
    });
    std::vector<DoubleVec3> normals(points);
    for (std::size_t p = 0; p < points; ++p) {
        if (touched[p]) {
            normals[p] = SmallestEigenvector(scatter[p]);
        }
    }
    std::vector<double> worst(points, 0.0);  // sine of the widest angle out of the plane
    ForEachTangent(object, [&](std::int32_t point, const DoubleVec3& t) {
        const auto p = static_cast<std::size_t>(point);
        worst[p] = std::max(worst[p], std::fabs(Dot(normals[p], t)));
    });
    std::vector<TangentPlane> planes(points);
    for (std::size_t p = 0; p < points; ++p) {
        planes[p].normal = Narrow(normals[p]);
        planes[p].residualDegrees =
            static_cast<float>(std::asin(std::min(worst[p], 1.0)) * 180.0 / std::numbers::pi);
    }
    return planes;
}

}  // namespace korvane
