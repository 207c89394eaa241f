#include "patch/open_ends.h"

#include <algorithm>

namespace korvane {

OpenEnds::OpenEnds(const PatchObject& object) {
    const auto pointCount = static_cast<std::size_t>(object.PointCount());
    start_.assign(pointCount + 1, 0);
    count_.assign(pointCount, 0);
    for (std::size_t p = 0; p < pointCount; ++p) {
        start_[p] = static_cast<std::int32_t>(ends_.size());
        for (const SplineRef& ref : object.RefsOf(static_cast<std::int32_t>(p))) {
            if (ref.spline < 0 || ref.spline >= object.SplineCount() || object.Closed(ref.spline) ||
                object.SplineNodeCount(ref.spline) < 2) {
                continue;
            }
            const auto s = static_cast<std::size_t>(ref.spline);
            if (ref.node == object.splineStart[s] || ref.node == object.splineStart[s + 1] - 1) {
                ends_.push_back(Pack({ref.spline, ref.node == object.splineStart[s]}));
            }
        }
        count_[p] = static_cast<std::int32_t>(ends_.size()) - start_[p];
    }
    start_[pointCount] = static_cast<std::int32_t>(ends_.size());
}

void OpenEnds::Remove(std::int32_t point, ChainEnd end) {
    const auto first = ends_.begin() + start_[static_cast<std::size_t>(point)];
    const auto last = first + count_[static_cast<std::size_t>(point)];
    const auto found = std::find(first, last, Pack(end));
    if (found != last) {
        std::copy(found + 1, last, found);
        --count_[static_cast<std::size_t>(point)];
    }
}

void OpenEnds::Append(std::int32_t point, ChainEnd end) {
    const auto p = static_cast<std::size_t>(point);
    // Always room after the end it replaces; the check only guards a broken network.
    if (start_[p] + count_[p] < start_[p + 1]) {
        ends_[static_cast<std::size_t>(start_[p] + count_[p]++)] = Pack(end);
    }
}

}  // namespace korvane
