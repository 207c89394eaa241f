#include <array>
#include <cstdint>
#include <vector>

#include "patch/patch_builder.h"

namespace korvane {
namespace {

constexpr std::uint32_t kNone = UINT32_MAX;

// Depth-first search for closed loops of n spline segments. A path is a chain of edges, each one
// segment of a spline walked forwards or backwards from a reference of the point it leaves; a loop
// is recorded when the last edge ends on the control point where the first one started. Loops
// already recorded from another of their edges, or in the other direction, are recognised through
// the patches recorded at the first corner.
//
// A sound network (see CheckPatchInvariants) links its points symmetrically, a segment being
// walked from both of its ends, so a path can only close at its start from a neighbour of the
// start: the last edge is looked for only there, which finds the same loops in the same order
// without walking every path to its full length. References that name no node of their spline on
// their point are passed over, so a broken network is never read out of range, but the patches
// found there are unspecified.
class LoopSearch {
  public:
    explicit LoopSearch(PatchObject& object)
        : object_(object),
          pointMark_(object.points.size(), 0),
          firstRecord_(object.points.size(), kNone) {}

    void Run(int edgeCount) {
        edgeCount_ = edgeCount;
        for (std::int32_t spline = 0; spline < object_.SplineCount(); ++spline) {
            const std::int32_t first = object_.splineStart[static_cast<std::size_t>(spline)];
            const std::int32_t end = object_.splineStart[static_cast<std::size_t>(spline) + 1];
            for (std::int32_t at = first; at < end; ++at) {
                const std::int32_t next = object_.Successor(spline, at);
                if (next < 0) {
                    break;
                }
                path_[0] = {spline, at, next};
                forward_[0] = true;
                pathPoint_[0] = PointOf(at);
                pathPoint_[1] = PointOf(next);
                if (pathPoint_[0] < 0 || pathPoint_[1] < 0) {
                    continue;
                }
                MarkNeighboursOfStart();
                Extend(1);
            }
        }
    }

  private:
    // An edge of the path: a segment of a spline from one node to its neighbour.
    struct Edge {
        std::int32_t spline;
        std::int32_t start;
        std::int32_t end;
    };

    std::int32_t PointOf(std::int32_t node) const {
        const std::int32_t point = object_.nodes[static_cast<std::size_t>(node)].controlPoint;
        return point >= 0 && point < object_.PointCount() ? point : -1;
    }

    // True when ref names a node of its spline that sits on point.
    bool Usable(const SplineRef& ref, std::int32_t point) const {
        if (ref.spline < 0 || ref.spline >= object_.SplineCount()) {
            return false;
        }
        const auto s = static_cast<std::size_t>(ref.spline);
        return ref.node >= object_.splineStart[s] && ref.node < object_.splineStart[s + 1] &&
               object_.nodes[static_cast<std::size_t>(ref.node)].controlPoint == point;
    }

    // Marks the points one edge from the start: the only ones from which a loop closes.
    void MarkNeighboursOfStart() {
        ++startMark_;
        const std::int32_t start = pathPoint_[0];
        for (const SplineRef& ref : object_.RefsOf(start)) {
            if (!Usable(ref, start)) {
                continue;
            }
            for (std::int32_t neighbour : {object_.Successor(ref.spline, ref.node),
                                           object_.Predecessor(ref.spline, ref.node)}) {
                if (neighbour >= 0 && PointOf(neighbour) >= 0) {
                    pointMark_[static_cast<std::size_t>(PointOf(neighbour))] = startMark_;
                }
            }
        }
    }

    void Extend(int depth) {
        const std::int32_t from = pathPoint_[static_cast<std::size_t>(depth)];
        Edge& edge = path_[static_cast<std::size_t>(depth)];
        for (const SplineRef& ref : object_.RefsOf(from)) {
            if (!Usable(ref, from)) {
                continue;
            }
            forward_[static_cast<std::size_t>(depth)] = true;
            edge = {ref.spline, ref.node, object_.Successor(ref.spline, ref.node)};
            const bool continued = edge.end >= 0 && Continue(depth);
            // The second edge of a quad already ran forward; walking the third one back as well
            // would only find the same loops again from their other side.
            if (edgeCount_ == 4 && continued && depth == 2 && forward_[1]) {
                continue;
            }
            forward_[static_cast<std::size_t>(depth)] = false;
            edge = {ref.spline, ref.node, object_.Predecessor(ref.spline, ref.node)};
            if (edge.end >= 0) {
                Continue(depth);
            }
        }
    }

    // Goes on from the edge at depth unless it turns straight back; true when it went on.
    bool Continue(int depth) {
        const std::int32_t end = PointOf(path_[static_cast<std::size_t>(depth)].end);
        if (end < 0 || end == pathPoint_[static_cast<std::size_t>(depth) - 1]) {
            return false;
        }
        if (depth < edgeCount_ - 1) {
            if (depth < edgeCount_ - 2 || pointMark_[static_cast<std::size_t>(end)] == startMark_) {
                pathPoint_[static_cast<std::size_t>(depth) + 1] = end;
                Extend(depth + 1);
            }
        } else if (end == pathPoint_[0]) {
            Record();
        }
        return true;
    }

    bool AllOneSpline() const {
        for (int i = 1; i < edgeCount_; ++i) {
            if (path_[static_cast<std::size_t>(i)].spline != path_[0].spline) {
                return false;
            }
        }
        return true;
    }

    std::int32_t Corner(int i) const {
        return pathPoint_[static_cast<std::size_t>(i % edgeCount_)];
    }

    std::int32_t RecordedCorner(const Patch& patch, int i) const {
        return object_.nodes[static_cast<std::size_t>(patch.edgeStart[static_cast<std::size_t>(i)])]
            .controlPoint;
    }

    // True when the recorded patch has the path's corners in the same cyclic order, in either
    // direction.
    bool SameCycle(const Patch& patch) const {
        const int n = edgeCount_;
        const std::int32_t first = RecordedCorner(patch, 0);
        for (int k = 0; k < n; ++k) {
            if (Corner(k) != first) {
                continue;
            }
            bool ahead = true;
            bool behind = true;
            for (int step = 1; step < n; ++step) {
                ahead = ahead && Corner(k + step) == RecordedCorner(patch, step);
                behind = behind && Corner(k + step) == RecordedCorner(patch, n - step);
            }
            if (ahead || behind) {
                return true;
            }
        }
        return false;
    }

    // True when every corner of the recorded triangle is one of the path's corners.
    bool CoversTriangle(const Patch& triangle) const {
        for (int i = 0; i < 3; ++i) {
            bool found = false;
            for (int k = 0; k < edgeCount_; ++k) {
                found = found || Corner(k) == RecordedCorner(triangle, i);
            }
            if (!found) {
                return false;
            }
        }
        return true;
    }

    bool AlreadyRecorded() const {
        const auto start = static_cast<std::size_t>(Corner(0));
        for (std::uint32_t r = firstRecord_[start]; r != kNone; r = records_[r].next) {
            const Patch& patch = object_.patches[records_[r].patch];
            if (patch.cornerCount == edgeCount_ && SameCycle(patch)) {
                return true;
            }
            if (edgeCount_ == 4 && patch.cornerCount == 3 && CoversTriangle(patch)) {
                return true;
            }
        }
        return false;
    }

    void Record() {
        if (AllOneSpline() || AlreadyRecorded()) {
            return;
        }
        const auto patchIndex = static_cast<std::uint32_t>(object_.patches.size());
        Patch& patch = object_.patches.emplace_back();
        patch.cornerCount = edgeCount_;
        for (int i = 0; i < edgeCount_; ++i) {
            const auto e = static_cast<std::size_t>(i);
            patch.edgeStart[e] = path_[e].start;
            patch.edgeEnd[e] = path_[e].end;
            patch.spline[e] = path_[e].spline;
            patch.forward[e] = forward_[e];
            std::uint32_t& first = firstRecord_[static_cast<std::size_t>(Corner(i))];
            records_.push_back({patchIndex, first});
            first = static_cast<std::uint32_t>(records_.size() - 1);
        }
    }

    // A patch recorded at a corner, in a list per corner linked from firstRecord_.
    struct CornerRecord {
        std::uint32_t patch;
        std::uint32_t next;
    };

    PatchObject& object_;
    std::vector<std::uint32_t> pointMark_;  // startMark_ on the neighbours of the current start
    std::uint32_t startMark_ = 0;
    std::vector<CornerRecord> records_;
    std::vector<std::uint32_t> firstRecord_;  // per point, its latest record, or kNone

    int edgeCount_ = 0;
    std::array<std::int32_t, 4> pathPoint_{};  // the point each edge starts from
    std::array<Edge, 4> path_{};
    std::array<bool, 4> forward_{};
};

}  // namespace

void DetectPatches(PatchObject& object) {
    object.DeletePatches();
    LoopSearch search(object);
    search.Run(3);
    search.Run(4);
    object.patchesValid = true;
}

}  // namespace korvane
