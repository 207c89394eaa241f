#include "patch/open_ends.h"

#include <algorithm>

namespace korvane {
namespace {

// A point with more ends than this gets a slot of twice their number, so that closing its gaps,
// which moves all its ends, happens once for many new ones; its ends are found by their places.
// Fewer are found by looking through them, which stays within a cache line or two.
constexpr std::int32_t kRoomyAbove = 16;

}  // namespace

OpenEnds::OpenEnds(const PatchObject& object) {
    const auto pointCount = static_cast<std::size_t>(object.PointCount());
    start_.assign(pointCount + 1, 0);
    used_.assign(pointCount, 0);
    for (std::size_t p = 0; p < pointCount; ++p) {
        start_[p] = static_cast<std::int32_t>(ends_.size());
        for (const SplineRef& ref : object.RefsOf(static_cast<std::int32_t>(p))) {
            if (ref.spline < 0 || ref.spline >= object.SplineCount() || object.Closed(ref.spline) ||
                object.SplineNodeCount(ref.spline) < 2) {
                continue;
            }
            const auto s = static_cast<std::size_t>(ref.spline);
            if (ref.node == object.SplineStarts()[s] ||
                ref.node == object.SplineStarts()[s + 1] - 1) {
                ends_.push_back(Pack({ref.spline, ref.node == object.SplineStarts()[s]}));
            }
        }
        used_[p] = static_cast<std::int32_t>(ends_.size()) - start_[p];
        if (used_[p] > kRoomyAbove) {
            if (place_.empty()) {
                place_.assign(2 * static_cast<std::size_t>(object.SplineCount()), -1);
            }
            for (std::int32_t at = start_[p]; at < start_[p] + used_[p]; ++at) {
                place_[static_cast<std::size_t>(ends_[static_cast<std::size_t>(at)])] = at;
            }
            ends_.resize(ends_.size() + static_cast<std::size_t>(used_[p]), kRemoved);
        }
    }
    start_[pointCount] = static_cast<std::int32_t>(ends_.size());
}

bool OpenEnds::Roomy(std::size_t point) const {
    return start_[point + 1] - start_[point] > kRoomyAbove;
}

void OpenEnds::Remove(std::int32_t point, ChainEnd end) {
    const auto p = static_cast<std::size_t>(point);
    const std::int32_t packed = Pack(end);
    const std::int32_t first = start_[p];
    const std::int32_t last = first + used_[p];
    const std::int32_t at =
        Roomy(p)
            ? place_[static_cast<std::size_t>(packed)]
            : static_cast<std::int32_t>(
                  std::find(ends_.begin() + first, ends_.begin() + last, packed) - ends_.begin());
    if (at >= first && at < last && ends_[static_cast<std::size_t>(at)] == packed) {
        ends_[static_cast<std::size_t>(at)] = kRemoved;
    }
}

void OpenEnds::Append(std::int32_t point, ChainEnd end) {
    const auto p = static_cast<std::size_t>(point);
    if (start_[p] + used_[p] == start_[p + 1]) {
        CloseGaps(p);
    }
    // Always room after the end it replaces; the check only guards a broken network.
    if (start_[p] + used_[p] < start_[p + 1]) {
        const std::int32_t at = start_[p] + used_[p]++;
        ends_[static_cast<std::size_t>(at)] = Pack(end);
        if (Roomy(p)) {
            place_[static_cast<std::size_t>(Pack(end))] = at;
        }
    }
}

void OpenEnds::CloseGaps(std::size_t point) {
    std::int32_t to = start_[point];
    for (std::int32_t from = start_[point]; from < start_[point] + used_[point]; ++from) {
        const std::int32_t packed = ends_[static_cast<std::size_t>(from)];
        if (packed != kRemoved) {
            if (Roomy(point)) {
                place_[static_cast<std::size_t>(packed)] = to;
            }
            ends_[static_cast<std::size_t>(to++)] = packed;
        }
    }
    used_[point] = to - start_[point];
}

}  // namespace korvane
