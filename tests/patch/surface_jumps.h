#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <numbers>
#include <optional>
#include <tuple>
#include <vector>

#include "patch/patch_facing.h"
#include "patch/patch_object.h"
#include "patch/surface_sampling.h"

// How far the normals of neighbouring surface pieces disagree where they meet: every sample on a
// piece's border that another piece shares (as the surface mesh welds them) is compared with the
// others at the same place, the patches turned to face alike first. Samples on control points are
// left out; there the pieces meet at a point, not along a curve.

namespace korvane::testing {

// Fills the sample grids of patch's pieces, as SurfaceNets with SampleNetGrid, or
// SampleSmoothPatch, lay them out at a surface resolution; returns the count of pieces.
using PatchSampler =
    std::function<int(const Patch& patch, std::array<std::vector<SurfaceSample>, 3>& grids)>;

// A place on the surface: a step along a spline segment (owner: the node SegmentOf names), along
// the inner curve k of a triangle patch (owner: the patch), or a triangle patch's centre.
struct JumpPlace {
    enum Kind { kSegment, kInnerCurve, kCentre };
    Kind kind = kSegment;
    std::int32_t owner = 0;
    int curve = 0;  // which inner curve
    int step = 0;
    auto operator<=>(const JumpPlace&) const = default;
};

// The widest angle in degrees between two normals at each place where pieces meet.
class SurfaceJumps {
  public:
    SurfaceJumps(const PatchObject& object, int surfaceResolution, const PatchSampler& sampler)
        : object_(object), sideSteps_(2 * surfaceResolution) {
        std::vector<std::int32_t> indices;
        for (std::size_t p = 0; p < object.Patches().size(); ++p) {
            const int corners = object.Patches()[p].cornerCount;
            if (corners == 3 || corners == 4) {
                indices.push_back(static_cast<std::int32_t>(p));
            }
        }
        const std::vector<bool> turned = TurnedPatches(object, indices);
        std::array<std::vector<SurfaceSample>, 3> grids;
        for (std::size_t i = 0; i < indices.size(); ++i) {
            const Patch& patch = object.Patches()[static_cast<std::size_t>(indices[i])];
            const int count = sampler(patch, grids);
            const int steps = SurfaceNetSteps(count, surfaceResolution);
            for (int piece = 0; piece < count; ++piece) {
                Collect(indices[i], piece, steps, grids[static_cast<std::size_t>(piece)],
                        turned[i]);
            }
        }
    }

    // The widest jump over the places that keep passes; 0 where no place has two normals.
    double Widest(const std::function<bool(const JumpPlace&)>& keep = {}) const {
        double widest = 0.0;
        for (const auto& [place, normals] : normals_) {
            if (keep && !keep(place)) {
                continue;
            }
            for (std::size_t a = 0; a < normals.size(); ++a) {
                for (std::size_t b = a + 1; b < normals.size(); ++b) {
                    widest = std::max(widest, Angle(normals[a], normals[b]));
                }
            }
        }
        return widest;
    }

    // How many places hold two normals or more.
    std::size_t SharedPlaces() const {
        return static_cast<std::size_t>(
            std::count_if(normals_.begin(), normals_.end(),
                          [](const auto& entry) { return entry.second.size() > 1; }));
    }

  private:
    // A zero normal counts as the widest jump: a surface without a direction is not smooth.
    static double Angle(const Vec3& a, const Vec3& b) {
        const bool zero = (a.x == 0 && a.y == 0 && a.z == 0) || (b.x == 0 && b.y == 0 && b.z == 0);
        if (zero) {
            return 180.0;
        }
        const double cx = double{a.y} * b.z - double{a.z} * b.y;
        const double cy = double{a.z} * b.x - double{a.x} * b.z;
        const double cz = double{a.x} * b.y - double{a.y} * b.x;
        const double dot = double{a.x} * b.x + double{a.y} * b.y + double{a.z} * b.z;
        return std::atan2(std::sqrt(cx * cx + cy * cy + cz * cz), dot) * 180.0 / std::numbers::pi;
    }

    // The place of step `at` of side `side`, counted from its first corner; none at a corner.
    std::optional<JumpPlace> OnSide(const Patch& patch, int side, int at) const {
        if (at == 0 || at == sideSteps_) {
            return std::nullopt;
        }
        const bool forward = patch.forward[static_cast<std::size_t>(side)];
        return JumpPlace{JumpPlace::kSegment, SegmentOf(patch, side), 0,
                         forward ? at : sideSteps_ - at};
    }

    // Step `at` of inner curve `curve` of a triangle patch, from the midpoint of side `curve`.
    std::optional<JumpPlace> OnInnerCurve(std::int32_t patchIndex, const Patch& patch, int curve,
                                          int at, int steps) const {
        if (at == 0) {
            return OnSide(patch, curve, steps);
        }
        if (at == steps) {
            return JumpPlace{JumpPlace::kCentre, patchIndex, 0, 0};
        }
        return JumpPlace{JumpPlace::kInnerCurve, patchIndex, curve, at};
    }

    // Where grid point (u, v) of a piece lies, as the surface mesh welds the pieces' borders.
    std::optional<JumpPlace> PlaceOf(std::int32_t patchIndex, int piece, int u, int v,
                                     int steps) const {
        const Patch& patch = object_.Patches()[static_cast<std::size_t>(patchIndex)];
        if (patch.cornerCount == 4) {
            if (v == 0) {
                return OnSide(patch, 0, u);
            }
            if (u == steps) {
                return OnSide(patch, 1, v);
            }
            if (v == steps) {
                return OnSide(patch, 2, steps - u);
            }
            if (u == 0) {
                return OnSide(patch, 3, steps - v);
            }
            return std::nullopt;
        }
        const int previous = (piece + 2) % 3;
        if (v == 0) {
            return OnSide(patch, piece, u);
        }
        if (u == 0) {
            return OnSide(patch, previous, sideSteps_ - v);
        }
        if (u == steps) {
            return OnInnerCurve(patchIndex, patch, piece, v, steps);
        }
        if (v == steps) {
            return OnInnerCurve(patchIndex, patch, previous, u, steps);
        }
        return std::nullopt;
    }

    void Collect(std::int32_t patchIndex, int piece, int steps,
                 const std::vector<SurfaceSample>& grid, bool turned) {
        for (int v = 0; v <= steps; ++v) {
            for (int u = 0; u <= steps; ++u) {
                const std::optional<JumpPlace> place = PlaceOf(patchIndex, piece, u, v, steps);
                if (!place) {
                    continue;
                }
                Vec3 n = grid[static_cast<std::size_t>(u + (steps + 1) * v)].normal;
                if (turned) {
                    n = Vec3{-n.x, -n.y, -n.z};
                }
                normals_[*place].push_back(n);
            }
        }
    }

    const PatchObject& object_;
    const int sideSteps_;
    std::map<JumpPlace, std::vector<Vec3>> normals_;
};

}  // namespace korvane::testing
