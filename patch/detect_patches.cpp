#include <array>
#include <cstdint>
#include <vector>

#include "geometry/huge_pages.h"
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
          firstRecord_(object.points.size(), kNone) {
        ListExits();
        // About one patch per four references in a mesh of quads; more only costs address space.
        object.patches.reserve(object.refs.size() / 4);
        corners_.reserve(object.refs.size() / 4);
        records_.reserve(object.refs.size());
        AdviseHugePages(object.patches);
        AdviseHugePages(corners_);
        AdviseHugePages(records_);
    }

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
                path_[0] = {spline, at};
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
    // The corners of a recorded patch, -1 in the fourth place of a triangle: beside the search's
    // other working tables, so that looking for repeats does not reach into the nodes.
    using Corners = std::array<std::int32_t, 4>;

    // Where a reference leads, beside it in the same order: the points of the nodes after and
    // before its node, or -1 where there is none or the reference is unusable. Walking these
    // instead of the splines keeps the search on two sequential arrays.
    struct Exit {
        std::int32_t nextPoint;
        std::int32_t previousPoint;
    };

    void ListExits() {
        exits_.reserve(object_.refs.size());
        AdviseHugePages(exits_);
        exits_.resize(object_.refs.size(), Exit{-1, -1});
        for (std::int32_t point = 0; point < object_.PointCount(); ++point) {
            for (std::int32_t r = object_.refStart[static_cast<std::size_t>(point)];
                 r < object_.refStart[static_cast<std::size_t>(point) + 1]; ++r) {
                const SplineRef& ref = object_.refs[static_cast<std::size_t>(r)];
                if (!Usable(ref, point)) {
                    continue;
                }
                Exit& exit = exits_[static_cast<std::size_t>(r)];
                const std::int32_t next = object_.Successor(ref.spline, ref.node);
                const std::int32_t previous = object_.Predecessor(ref.spline, ref.node);
                if (next >= 0 && PointOf(next) >= 0) {
                    exit.nextPoint = PointOf(next);
                }
                if (previous >= 0 && PointOf(previous) >= 0) {
                    exit.previousPoint = PointOf(previous);
                }
            }
        }
    }

    // An edge of the path: a segment of a spline from its start node to the neighbour on the side
    // that forward_ gives, found again only when a loop is recorded.
    struct Edge {
        std::int32_t spline;
        std::int32_t start;
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
        const auto start = static_cast<std::size_t>(pathPoint_[0]);
        for (std::int32_t r = object_.refStart[start]; r < object_.refStart[start + 1]; ++r) {
            const Exit& exit = exits_[static_cast<std::size_t>(r)];
            if (exit.nextPoint >= 0) {
                pointMark_[static_cast<std::size_t>(exit.nextPoint)] = startMark_;
            }
            if (exit.previousPoint >= 0) {
                pointMark_[static_cast<std::size_t>(exit.previousPoint)] = startMark_;
            }
        }
    }

    void Extend(int depth) {
        const auto from = static_cast<std::size_t>(pathPoint_[static_cast<std::size_t>(depth)]);
        Edge& edge = path_[static_cast<std::size_t>(depth)];
        bool& forward = forward_[static_cast<std::size_t>(depth)];
        for (std::int32_t r = object_.refStart[from]; r < object_.refStart[from + 1]; ++r) {
            const Exit& exit = exits_[static_cast<std::size_t>(r)];
            const SplineRef& ref = object_.refs[static_cast<std::size_t>(r)];
            forward = true;
            edge = {ref.spline, ref.node};
            const bool continued = exit.nextPoint >= 0 && Continue(depth, exit.nextPoint);
            // The second edge of a quad already ran forward; walking the third one back as well
            // would only find the same loops again from their other side.
            if (edgeCount_ == 4 && continued && depth == 2 && forward_[1]) {
                continue;
            }
            forward = false;
            if (exit.previousPoint >= 0) {
                Continue(depth, exit.previousPoint);
            }
        }
    }

    // Goes on from the edge at depth, which ends on point `end`, unless it turns straight back;
    // true when it went on.
    bool Continue(int depth, std::int32_t end) {
        if (end == pathPoint_[static_cast<std::size_t>(depth) - 1]) {
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

    // True when the recorded corners are the path's corners in the same cyclic order, in either
    // direction.
    bool SameCycle(const Corners& corners) const {
        const int n = edgeCount_;
        const std::int32_t first = corners[0];
        for (int k = 0; k < n; ++k) {
            if (Corner(k) != first) {
                continue;
            }
            bool ahead = true;
            bool behind = true;
            for (int step = 1; step < n; ++step) {
                ahead = ahead && Corner(k + step) == corners[static_cast<std::size_t>(step)];
                behind = behind && Corner(k + step) == corners[static_cast<std::size_t>(n - step)];
            }
            if (ahead || behind) {
                return true;
            }
        }
        return false;
    }

    // True when every corner of the recorded triangle is one of the path's corners.
    bool CoversTriangle(const Corners& triangle) const {
        for (int i = 0; i < 3; ++i) {
            bool found = false;
            for (int k = 0; k < edgeCount_; ++k) {
                found = found || Corner(k) == triangle[static_cast<std::size_t>(i)];
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
            const Corners& corners = corners_[records_[r].patch];
            const int cornerCount = corners[3] < 0 ? 3 : 4;
            if (cornerCount == edgeCount_ && SameCycle(corners)) {
                return true;
            }
            if (edgeCount_ == 4 && cornerCount == 3 && CoversTriangle(corners)) {
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
        Corners& corners = corners_.emplace_back(Corners{-1, -1, -1, -1});
        patch.cornerCount = edgeCount_;
        for (int i = 0; i < edgeCount_; ++i) {
            const auto e = static_cast<std::size_t>(i);
            patch.edgeStart[e] = path_[e].start;
            patch.edgeEnd[e] = forward_[e] ? object_.Successor(path_[e].spline, path_[e].start)
                                           : object_.Predecessor(path_[e].spline, path_[e].start);
            patch.spline[e] = path_[e].spline;
            patch.forward[e] = forward_[e];
            corners[e] = Corner(i);
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
    std::vector<Exit> exits_;               // per reference
    std::vector<std::uint32_t> pointMark_;  // startMark_ on the neighbours of the current start
    std::uint32_t startMark_ = 0;
    std::vector<Corners> corners_;  // per patch found
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
