#include "patch/gregory_patch.h"

#include <cstddef>

namespace korvane {
namespace {

struct Weights {
    std::array<float, 4> value;
    std::array<float, 4> slope;  // derivative of each cubic Bernstein polynomial
};

Weights WeightsAt(float t) {
    const float s = 1.0f - t;
    return {
        {s * s * s, 3.0f * t * s * s, 3.0f * t * t * s, t * t * t},
        {-3.0f * s * s, 3.0f * s * s - 6.0f * t * s, 6.0f * t * s - 3.0f * t * t, 3.0f * t * t}};
}

Vec3 ToVec3(const PatchVec3& p) {
    return Vec3{p.x, p.y, p.z};
}

// Where the border point of net position (u, v) is kept, at u + 4 v; -1 inside.
constexpr std::array<int, 16> BorderIndices() {
    std::array<int, 16> index{};
    index.fill(-1);
    for (int k = 0; k < 12; ++k) {
        const auto [u, v] = GregoryBorderCell(k);
        index[static_cast<std::size_t>(u + 4 * v)] = k;
    }
    return index;
}
constexpr std::array<int, 16> kBorderIndex = BorderIndices();

// The net of the patch at one (u, v), each inner point blended. The blend of inner point (i, j),
// kept at i - 1 + 2 (j - 1), moves along u by difference (sum of its weights)^-1 slopeU, and
// along v likewise; its Bernstein weight is divided by the sum first, which it outweighs near the
// corner where the sum vanishes, so that neither product overflows.
struct BlendedNet {
    std::array<Vec3, 16> point;
    std::array<Vec3, 4> difference;  // fromU - fromV
    std::array<float, 4> sum;
    std::array<float, 4> slopeU;
    std::array<float, 4> slopeV;
};

std::size_t InnerIndex(std::size_t i, std::size_t j) {
    return i - 1 + 2 * (j - 1);
}

// Inner point (i, j), i and j in {1, 2}: fromU is the proposal of the side along u next to it
// (v = 0 for j = 1, v = 3 for j = 2), fromV that of the side along v (u = 0 for i = 1, u = 3 for
// i = 2). Its weight for fromU grows towards its own u side: u for i = 1, 1 - u for i = 2; that for
// fromV likewise with v. Where both weights vanish either proposal would do: the point's
// Bernstein weight vanishes there too, with its derivatives.
void BlendInner(const GregoryPatch& patch, int i, int j, float u, float v, BlendedNet& net) {
    const PatchVec3& fromU = patch.inner[j == 1 ? (i == 1 ? 0 : 1) : (i == 1 ? 5 : 4)];
    const PatchVec3& fromV = patch.inner[i == 1 ? (j == 1 ? 7 : 6) : (j == 1 ? 2 : 3)];
    const float alpha = i == 1 ? u : 1.0f - u;
    const float beta = j == 1 ? v : 1.0f - v;
    const auto at = static_cast<std::size_t>(i + 4 * j);
    const std::size_t inner = InnerIndex(static_cast<std::size_t>(i), static_cast<std::size_t>(j));
    const float sum = alpha + beta;
    net.sum[inner] = sum;
    net.difference[inner] = ToVec3(Subtract(fromU, fromV));
    if (sum == 0.0f) {
        net.point[at] = ToVec3(Divide(Add(fromU, fromV), 2.0f));
        net.slopeU[inner] = 0.0f;
        net.slopeV[inner] = 0.0f;
        return;
    }
    const float towardsU = alpha / sum;
    const float towardsV = beta / sum;
    net.point[at] = ToVec3(Add(Scale(fromU, towardsU), Scale(fromV, towardsV)));
    net.slopeU[inner] = i == 1 ? towardsV : -towardsV;
    net.slopeV[inner] = j == 1 ? -towardsU : towardsU;
}

// The border points, which do not move with (u, v).
void SetBorder(const GregoryPatch& patch, BlendedNet& net) {
    for (std::size_t at = 0; at < 16; ++at) {
        const int border = kBorderIndex[at];
        if (border >= 0) {
            net.point[at] = ToVec3(patch.border[static_cast<std::size_t>(border)]);
        }
    }
}

void BlendInnerPoints(const GregoryPatch& patch, float u, float v, BlendedNet& net) {
    for (int j = 1; j <= 2; ++j) {
        for (int i = 1; i <= 2; ++i) {
            BlendInner(patch, i, j, u, v, net);
        }
    }
}

GregoryPoint Combine(const BlendedNet& net, const Weights& u, const Weights& v) {
    GregoryPoint result;
    for (std::size_t j = 0; j < 4; ++j) {
        for (std::size_t i = 0; i < 4; ++i) {
            const Vec3& p = net.point[i + 4 * j];
            AddInPlace(result.position, Scale(p, u.value[i] * v.value[j]));
            AddInPlace(result.alongU, Scale(p, u.slope[i] * v.value[j]));
            AddInPlace(result.alongV, Scale(p, u.value[i] * v.slope[j]));
        }
    }
    // The blends move with (u, v) only inside.
    for (std::size_t j = 1; j <= 2; ++j) {
        for (std::size_t i = 1; i <= 2; ++i) {
            const std::size_t inner = InnerIndex(i, j);
            if (net.sum[inner] == 0.0f) {
                continue;
            }
            const float weight = u.value[i] * v.value[j] / net.sum[inner];
            AddInPlace(result.alongU, Scale(net.difference[inner], weight * net.slopeU[inner]));
            AddInPlace(result.alongV, Scale(net.difference[inner], weight * net.slopeV[inner]));
        }
    }
    return result;
}

}  // namespace

GregoryPoint EvaluateGregory(const GregoryPatch& patch, float u, float v) {
    BlendedNet net;
    SetBorder(patch, net);
    BlendInnerPoints(patch, u, v, net);
    return Combine(net, WeightsAt(u), WeightsAt(v));
}

void SampleGregoryGrid(const GregoryPatch& patch, int steps, std::vector<SurfaceSample>& grid) {
    const int n = steps < 1 ? 1 : steps;
    std::vector<float> parameter;
    std::vector<Weights> table;
    parameter.reserve(static_cast<std::size_t>(n) + 1);
    table.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) {
        parameter.push_back(static_cast<float>(i) / static_cast<float>(n));
        table.push_back(WeightsAt(parameter.back()));
    }
    grid.clear();
    grid.reserve(table.size() * table.size());
    BlendedNet net;
    SetBorder(patch, net);
    for (std::size_t j = 0; j < table.size(); ++j) {
        for (std::size_t i = 0; i < table.size(); ++i) {
            BlendInnerPoints(patch, parameter[i], parameter[j], net);
            const GregoryPoint p = Combine(net, table[i], table[j]);
            grid.push_back({p.position, SurfaceNormal(p.alongU, p.alongV)});
        }
    }
}

}  // namespace korvane
