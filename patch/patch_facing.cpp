#include "patch/patch_facing.h"

#include <array>
#include <utility>

namespace korvane {
namespace {

// Six times the signed volume of the cone from the origin over the patch's corner polygon.
double CornerVolume(const PatchObject& object, const Patch& patch) {
    const auto at = [&](int corner) -> const PatchVec3& {
        return object.Points()[static_cast<std::size_t>(CornerPoint(object, patch, corner))];
    };
    const PatchVec3& o = at(0);
    double volume = 0.0;
    for (int k = 1; k + 1 < patch.cornerCount; ++k) {
        const PatchVec3& a = at(k);
        const PatchVec3& b = at(k + 1);
        volume += double{o.x} * (double{a.y} * b.z - double{a.z} * b.y) +
                  double{o.y} * (double{a.z} * b.x - double{a.x} * b.z) +
                  double{o.z} * (double{a.x} * b.y - double{a.y} * b.x);
    }
    return volume;
}

}  // namespace

std::vector<bool> TurnedPatches(const PatchObject& object,
                                const std::vector<std::int32_t>& patches) {
    const auto patchAt = [&](std::uint32_t p) -> const Patch& {
        return object.Patches()[static_cast<std::size_t>(patches[p])];
    };
    // The patches on each segment in the order met, with whether each runs the spline's way.
    struct SegmentUse {
        std::uint32_t count = 0;
        std::array<std::uint32_t, 2> patch{};
        std::array<bool, 2> forward{};
    };
    constexpr std::uint32_t kNoSegment = ~std::uint32_t{0};
    std::vector<std::uint32_t> segmentAt(object.Nodes().size(), kNoSegment);  // per node
    std::vector<SegmentUse> segments;
    std::vector<std::uint32_t> sideSegments;  // per side of every patch in turn
    for (std::uint32_t p = 0; p < patches.size(); ++p) {
        const Patch& patch = patchAt(p);
        for (int side = 0; side < patch.cornerCount; ++side) {
            std::uint32_t& segment = segmentAt[static_cast<std::size_t>(SegmentOf(patch, side))];
            if (segment == kNoSegment) {
                segment = static_cast<std::uint32_t>(segments.size());
                segments.emplace_back();
            }
            sideSegments.push_back(segment);
            SegmentUse& use = segments[segment];
            if (use.count < 2) {
                use.patch[use.count] = p;
                use.forward[use.count] = patch.forward[static_cast<std::size_t>(side)];
            }
            ++use.count;
        }
    }
    // Neighbours as (other patch, whether both run alike), per patch.
    std::vector<std::vector<std::pair<std::uint32_t, bool>>> neighbours(patches.size());
    const auto joins = [](const SegmentUse& use) {
        return use.count == 2 && use.patch[0] != use.patch[1];
    };
    for (const SegmentUse& use : segments) {
        if (joins(use)) {
            const bool alike = use.forward[0] == use.forward[1];
            neighbours[use.patch[0]].push_back({use.patch[1], alike});
            neighbours[use.patch[1]].push_back({use.patch[0], alike});
        }
    }
    // Patches with a side on the network's border or where three or more patches meet.
    std::vector<bool> open(patches.size(), false);
    std::size_t side = 0;
    for (std::uint32_t p = 0; p < patches.size(); ++p) {
        for (int k = 0; k < patchAt(p).cornerCount; ++k) {
            open[p] = open[p] || !joins(segments[sideSegments[side++]]);
        }
    }

    std::vector<bool> turned(patches.size(), false);
    std::vector<bool> reached(patches.size(), false);
    std::vector<std::uint32_t> piece;
    for (std::uint32_t first = 0; first < patches.size(); ++first) {
        if (reached[first]) {
            continue;
        }
        piece.assign(1, first);
        reached[first] = true;
        bool closed = true;
        for (std::size_t i = 0; i < piece.size(); ++i) {
            const std::uint32_t p = piece[i];
            closed = closed && !open[p];
            for (const auto& [other, alike] : neighbours[p]) {
                if (!reached[other]) {
                    reached[other] = true;
                    turned[other] = turned[p] != alike;
                    piece.push_back(other);
                }
            }
        }
        if (!closed) {
            continue;
        }
        // The corner polygons enclose a volume of the same sign as the surface for any network a
        // model gives.
        double volume = 0.0;
        for (const std::uint32_t p : piece) {
            const double own = CornerVolume(object, patchAt(p));
            volume += turned[p] ? -own : own;
        }
        if (volume < 0.0) {
            for (const std::uint32_t p : piece) {
                turned[p] = !turned[p];
            }
        }
    }
    return turned;
}

std::vector<std::int32_t> SurfacePatches(const PatchObject& object) {
    std::vector<std::int32_t> patches;
    for (std::size_t p = 0; p < object.Patches().size(); ++p) {
        if (HasSurface(object.Patches()[p])) {
            patches.push_back(static_cast<std::int32_t>(p));
        }
    }
    return patches;
}

}  // namespace korvane
