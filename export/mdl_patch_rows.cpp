#include "export/mdl_patch_rows.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "export/animation_master_axes.h"
#include "patch/patch_facing.h"

namespace korvane {
namespace {

struct Direction {
    double x = 0.0, y = 0.0, z = 0.0;
};

// From `from` to `to`, in A:M's axes.
Direction Between(const PatchVec3& from, const PatchVec3& to) {
    const PatchVec3 a = ToAnimationMasterAxes(from);
    const PatchVec3 b = ToAnimationMasterAxes(to);
    return {double{b.x} - a.x, double{b.y} - a.y, double{b.z} - a.z};
}

Direction Cross(const Direction& a, const Direction& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Length(const Direction& d) {
    return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

// A side of a patch as it is written: from node `start` to its neighbour `end`, forwards along
// the spline or not.
struct Side {
    std::int32_t start = 0;
    std::int32_t end = 0;
    bool forward = false;
};

class RowBuilder {
  public:
    RowBuilder(const PatchObject& object, std::int64_t firstId, NormalTable& normals)
        : object_(object), firstId_(firstId), normals_(normals) {}

    MdlPatchRow Row(const Patch& patch, bool reversed) {
        const int count = patch.cornerCount;
        // Reversed, written side j is side count - 1 - j walked backwards.
        for (int j = 0; j < count; ++j) {
            const auto s = static_cast<std::size_t>(reversed ? count - 1 - j : j);
            sides_[static_cast<std::size_t>(j)] =
                reversed ? Side{patch.edgeEnd[s], patch.edgeStart[s], !patch.forward[s]}
                         : Side{patch.edgeStart[s], patch.edgeEnd[s], patch.forward[s]};
        }
        MdlPatchRow row;
        for (int j = 0; j < count; ++j) {
            const auto at = static_cast<std::size_t>(j);
            row.flags |= sides_[at].forward ? 8u << j : 0u;
            row.corners[at] = firstId_ + sides_[at].start;
            row.normals[at] =
                normals_.IndexOf(CornerNormal(j, count), Node(sides_[at].start).controlPoint);
        }
        if (count == 3) {
            row.corners[3] = row.corners[0];
            row.normals[3] = row.normals[0];
        }
        return row;
    }

  private:
    const SplineNode& Node(std::int32_t node) const {
        return object_.Nodes()[static_cast<std::size_t>(node)];
    }
    const PatchVec3& Position(std::int32_t node) const { return object_.PointOf(Node(node)); }

    // The direction in which the spline leaves `node` towards its neighbour on the side.
    Direction Tangent(std::int32_t node, bool towardsNext) const {
        return Between(Position(node), Node(node).Handle(towardsNext ? HandleDirection::kOut
                                                                     : HandleDirection::kIn));
    }

    // The surface normal at corner j: the handles along the side that leaves it and the side that
    // arrives at it, or where they are parallel or missing, the chords to the neighbouring
    // corners, or else the whole corner polygon's normal.
    PatchVec3 CornerNormal(int j, int count) const {
        const Side& leaving = sides_[static_cast<std::size_t>(j)];
        const Side& arriving = sides_[static_cast<std::size_t>((j + count - 1) % count)];
        if (const auto n = Unit(Cross(Tangent(leaving.start, leaving.forward),
                                      Tangent(arriving.end, !arriving.forward)))) {
            return *n;
        }
        if (const auto n = Unit(Cross(Between(Position(leaving.start), Position(leaving.end)),
                                      Between(Position(arriving.end), Position(arriving.start))))) {
            return *n;
        }
        return Unit(PolygonNormal(count)).value_or(PatchVec3(0.0f, 1.0f, 0.0f));
    }

    static std::optional<PatchVec3> Unit(const Direction& d) {
        const double length = Length(d);
        if (!(length > 0.0) || !std::isfinite(length)) {
            return std::nullopt;
        }
        return PatchVec3(static_cast<float>(d.x / length), static_cast<float>(d.y / length),
                         static_cast<float>(d.z / length));
    }

    // Newell's normal of the corners in written order.
    Direction PolygonNormal(int count) const {
        Direction sum;
        for (int j = 0; j < count; ++j) {
            const PatchVec3 a =
                ToAnimationMasterAxes(Position(sides_[static_cast<std::size_t>(j)].start));
            const PatchVec3 b =
                ToAnimationMasterAxes(Position(sides_[static_cast<std::size_t>(j)].end));
            sum.x += (double{a.y} - b.y) * (double{a.z} + b.z);
            sum.y += (double{a.z} - b.z) * (double{a.x} + b.x);
            sum.z += (double{a.x} - b.x) * (double{a.y} + b.y);
        }
        return sum;
    }

    const PatchObject& object_;
    const std::int64_t firstId_;
    NormalTable& normals_;
    std::array<Side, 4> sides_{};
};

}  // namespace

void NormalTable::BeginObject(std::size_t pointCount) {
    latestAt_.assign(pointCount, -1);
}

std::int32_t NormalTable::IndexOf(const PatchVec3& normal, std::int32_t point) {
    constexpr int kLooked = 8;
    Millionths millionths{};
    const float components[] = {normal.x, normal.y, normal.z};
    for (std::size_t i = 0; i < 3; ++i) {
        const long scaled = std::lround(double{components[i]} * 1e6);
        millionths[i] = static_cast<std::int32_t>(std::clamp(scaled, -1'000'000L, 1'000'000L));
    }
    std::int32_t& latest = latestAt_[static_cast<std::size_t>(point)];
    std::int32_t earlier = latest;
    for (int looked = 0; earlier >= 0 && looked < kLooked; ++looked) {
        if (normals_[static_cast<std::size_t>(earlier)] == millionths) {
            return earlier;
        }
        earlier = earlierAtItsPoint_[static_cast<std::size_t>(earlier)];
    }
    const auto index = static_cast<std::int32_t>(normals_.size());
    normals_.push_back(millionths);
    earlierAtItsPoint_.push_back(latest);
    latest = index;
    return index;
}

std::vector<MdlPatchRow> MdlPatchRows(const PatchObject& object, std::int64_t firstId,
                                      NormalTable& normals) {
    const std::vector<std::int32_t> patches = SurfacePatches(object);
    // The turn that faces a patch outwards in the model's axes faces it inwards in A:M's mirrored
    // ones, so the rows run the other way round.
    const std::vector<bool> turned = TurnedPatches(object, patches);
    normals.BeginObject(object.Points().size());
    RowBuilder builder(object, firstId, normals);
    std::vector<MdlPatchRow> rows;
    rows.reserve(patches.size());
    for (std::size_t p = 0; p < patches.size(); ++p) {
        rows.push_back(
            builder.Row(object.Patches()[static_cast<std::size_t>(patches[p])], !turned[p]));
    }
    return rows;
}

}  // namespace korvane
