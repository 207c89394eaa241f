#include "patch/reference_exits.h"

#include <algorithm>

#include "geometry/huge_pages.h"

namespace korvane {

ReferenceExits::ReferenceExits(const PatchObject& object) : object_(object) {
    exits_.reserve(object.Refs().size());
    AdviseHugePages(exits_);
    exits_.resize(object.Refs().size(), Exits{-1, -1});
    for (std::int32_t point = 0; point < object.PointCount(); ++point) {
        const auto first =
            static_cast<std::uint32_t>(object.RefStarts()[static_cast<std::size_t>(point)]);
        const auto end =
            static_cast<std::uint32_t>(object.RefStarts()[static_cast<std::size_t>(point) + 1]);
        for (std::uint32_t r = first; r < end; ++r) {
            const SplineRef& ref = object.Refs()[r];
            if (!Usable(ref, point)) {
                continue;
            }
            const std::int32_t next = object.Successor(ref.spline, ref.node);
            const std::int32_t previous = object.Predecessor(ref.spline, ref.node);
            exits_[r] = {next >= 0 ? PointOf(next) : -1, previous >= 0 ? PointOf(previous) : -1};
        }
        if (!Busy(point)) {
            continue;
        }
        const std::size_t begin = sorted_.size();
        for (std::uint32_t exit = 2 * first; exit < 2 * end; ++exit) {
            if (const std::int32_t target = Target(exit); target >= 0) {
                sorted_.push_back(static_cast<std::uint64_t>(target) << 32 | exit);
            }
        }
        std::sort(sorted_.begin() + static_cast<std::ptrdiff_t>(begin), sorted_.end());
        busy_.push_back({point, begin, sorted_.size()});
    }
}

// True when ref names a node of its spline that sits on point.
bool ReferenceExits::Usable(const SplineRef& ref, std::int32_t point) const {
    if (ref.spline < 0 || ref.spline >= object_.SplineCount()) {
        return false;
    }
    const auto s = static_cast<std::size_t>(ref.spline);
    return ref.node >= object_.SplineStarts()[s] && ref.node < object_.SplineStarts()[s + 1] &&
           object_.Nodes()[static_cast<std::size_t>(ref.node)].controlPoint == point;
}

std::int32_t ReferenceExits::PointOf(std::int32_t node) const {
    const std::int32_t point = object_.Nodes()[static_cast<std::size_t>(node)].controlPoint;
    return point >= 0 && point < object_.PointCount() ? point : -1;
}

const ReferenceExits::BusyPoint& ReferenceExits::BusyEntry(std::int32_t point) const {
    return *std::lower_bound(
        busy_.begin(), busy_.end(), point,
        [](const BusyPoint& entry, std::int32_t wanted) { return entry.point < wanted; });
}

void ReferenceExits::AppendExitsTo(std::int32_t point, std::int32_t target,
                                   std::vector<std::uint32_t>& out) const {
    const BusyPoint& entry = BusyEntry(point);
    const auto key = static_cast<std::uint64_t>(target) << 32;
    auto at = std::lower_bound(sorted_.begin() + static_cast<std::ptrdiff_t>(entry.begin),
                               sorted_.begin() + static_cast<std::ptrdiff_t>(entry.end), key);
    for (; at != sorted_.begin() + static_cast<std::ptrdiff_t>(entry.end) && *at >> 32 == key >> 32;
         ++at) {
        out.push_back(static_cast<std::uint32_t>(*at));
    }
}

bool ReferenceExits::LeadsTo(std::int32_t point, std::int32_t target) const {
    const BusyPoint& entry = BusyEntry(point);
    const auto key = static_cast<std::uint64_t>(target) << 32;
    const auto end = sorted_.begin() + static_cast<std::ptrdiff_t>(entry.end);
    const auto at =
        std::lower_bound(sorted_.begin() + static_cast<std::ptrdiff_t>(entry.begin), end, key);
    return at != end && *at >> 32 == key >> 32;
}

void ReferenceExits::AppendTargets(std::int32_t point, std::vector<std::int32_t>& out) const {
    if (Busy(point)) {
        const BusyPoint& entry = BusyEntry(point);
        for (std::size_t i = entry.begin; i < entry.end; ++i) {
            const auto target = static_cast<std::int32_t>(sorted_[i] >> 32);
            if (i == entry.begin || target != static_cast<std::int32_t>(sorted_[i - 1] >> 32)) {
                out.push_back(target);
            }
        }
        return;
    }
    const auto first =
        static_cast<std::uint32_t>(object_.RefStarts()[static_cast<std::size_t>(point)]);
    const auto end =
        static_cast<std::uint32_t>(object_.RefStarts()[static_cast<std::size_t>(point) + 1]);
    for (std::uint32_t exit = 2 * first; exit < 2 * end; ++exit) {
        if (const std::int32_t target = Target(exit); target >= 0) {
            out.push_back(target);
        }
    }
}

}  // namespace korvane
