#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "geometry/huge_pages.h"
#include "patch/patch_builder.h"
#include "patch/reference_exits.h"

namespace korvane {
namespace {

constexpr std::uint32_t kNone = UINT32_MAX;
// A start with no more patches than this is looked through for repeats without counting others'.
constexpr std::uint32_t kFewRecords = 8;

// Depth-first search for closed loops of n spline segments. A path is a chain of edges, each one
// segment of a spline walked forwards or backwards from a reference of the point it leaves; a loop
// is recorded when the last edge ends on the control point where the first one started. Loops
// already recorded from another of their edges, or in the other direction, are recognised through
// the patches recorded at the first corner.
//
// A sound network (see CheckPatchInvariants) links its points symmetrically, a segment being
// walked from both of its ends, so a path can only close at its start from a neighbour of the
// start: the last edge is looked for only there, which finds the same loops in the same order
// without walking every path to its full length. At a busy point the search goes on only along the
// exits that can still close a loop, found by the points they lead to: walking all of them, as at
// any other point, would cost the square of the number of curves through it. References that name
// no node of their spline on their point are passed over, so a broken network is never read out of
// range, but the patches found there are unspecified.
class LoopSearch {
  public:
    explicit LoopSearch(PatchObject& object)
        : object_(object),
          exits_(object),
          pointMark_(object.points.size(), 0),
          pointRecords_(object.points.size()) {
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

    // Marks the points one edge from the start: the only ones from which a loop closes. A busy
    // start is asked instead.
    void MarkNeighboursOfStart() {
        const std::int32_t start = pathPoint_[0];
        startBusy_ = exits_.Busy(start);
        if (startBusy_) {
            return;
        }
        ++startMark_;
        const auto first =
            static_cast<std::uint32_t>(object_.refStart[static_cast<std::size_t>(start)]);
        const auto end =
            static_cast<std::uint32_t>(object_.refStart[static_cast<std::size_t>(start) + 1]);
        for (std::uint32_t exit = 2 * first; exit < 2 * end; ++exit) {
            if (const std::int32_t target = exits_.Target(exit); target >= 0) {
                pointMark_[static_cast<std::size_t>(target)] = startMark_;
            }
        }
    }

    bool NeighbourOfStart(std::int32_t point) const {
        return startBusy_ ? exits_.LeadsTo(pathPoint_[0], point)
                          : pointMark_[static_cast<std::size_t>(point)] == startMark_;
    }

    void Extend(int depth) {
        const std::int32_t point = pathPoint_[static_cast<std::size_t>(depth)];
        if (exits_.Busy(point) && ListCandidates(depth)) {
            for (const std::uint32_t exit : candidates_[static_cast<std::size_t>(depth)]) {
                Walk(depth, exit);
            }
            return;
        }
        const auto first =
            static_cast<std::uint32_t>(object_.refStart[static_cast<std::size_t>(point)]);
        const auto end =
            static_cast<std::uint32_t>(object_.refStart[static_cast<std::size_t>(point) + 1]);
        for (std::uint32_t exit = 2 * first; exit < 2 * end; ++exit) {
            Walk(depth, exit);
        }
    }

    // Lists the exits from the busy point at depth that can still lead round to the start, in the
    // order of the exits: those to the start on the last edge, to a neighbour of the start on the
    // one before, and on the edge before that (of a quad) to a neighbour of a neighbour of the
    // start. Passing over the others changes nothing, as a sound network links its points
    // symmetrically. False when finding them would cost more than walking every exit.
    bool ListCandidates(int depth) {
        const std::int32_t from = pathPoint_[static_cast<std::size_t>(depth)];
        const std::int32_t start = pathPoint_[0];
        const int edgesLeft = edgeCount_ - depth;
        targets_.clear();
        if (edgesLeft == 1) {
            targets_.push_back(start);
        } else {
            if (exits_.ReferenceCount(start) > exits_.ReferenceCount(from)) {
                return false;
            }
            exits_.AppendTargets(start, targets_);
            if (edgesLeft == 3) {
                // The edge after this one turns straight back to `from`, not on to a neighbour.
                SortUnique(targets_);
                neighbours_.swap(targets_);
                std::int64_t cost = 0;
                for (const std::int32_t neighbour : neighbours_) {
                    cost += neighbour != from ? exits_.ReferenceCount(neighbour) : 0;
                }
                if (cost > exits_.ReferenceCount(from)) {
                    return false;
                }
                targets_.clear();
                for (const std::int32_t neighbour : neighbours_) {
                    if (neighbour != from) {
                        exits_.AppendTargets(neighbour, targets_);
                    }
                }
            }
        }
        SortUnique(targets_);
        std::vector<std::uint32_t>& candidates = candidates_[static_cast<std::size_t>(depth)];
        candidates.clear();
        for (const std::int32_t target : targets_) {
            exits_.AppendExitsTo(from, target, candidates);
        }
        std::sort(candidates.begin(), candidates.end());
        return true;
    }

    template <class T>
    static void SortUnique(std::vector<T>& values) {
        std::sort(values.begin(), values.end());
        values.erase(std::unique(values.begin(), values.end()), values.end());
    }

    // Walks one exit as the edge at depth and goes on from where it leads.
    void Walk(int depth, std::uint32_t exit) {
        const std::int32_t target = exits_.Target(exit);
        const bool forward = exit % 2 == 0;
        if (target < 0 || (!forward && ForwardWentOn(depth, exit - 1))) {
            return;
        }
        const SplineRef& ref = object_.refs[exit / 2];
        path_[static_cast<std::size_t>(depth)] = {ref.spline, ref.node};
        forward_[static_cast<std::size_t>(depth)] = forward;
        Continue(depth, target);
    }

    // The second edge of a quad already ran forward; walking the third one back where it also
    // went on forward would only find the same loops again from their other side.
    bool ForwardWentOn(int depth, std::uint32_t forwardExit) const {
        if (edgeCount_ != 4 || depth != 2 || !forward_[1]) {
            return false;
        }
        const std::int32_t target = exits_.Target(forwardExit);
        return target >= 0 && target != pathPoint_[1];
    }

    // Goes on from the edge at depth, which ends on point `end`, unless it turns straight back.
    void Continue(int depth, std::int32_t end) {
        if (end == pathPoint_[static_cast<std::size_t>(depth) - 1]) {
            return;
        }
        if (depth < edgeCount_ - 1) {
            if (depth < edgeCount_ - 2 || NeighbourOfStart(end)) {
                pathPoint_[static_cast<std::size_t>(depth) + 1] = end;
                Extend(depth + 1);
            }
        } else if (end == pathPoint_[0]) {
            Record();
        }
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

    // True when a patch recorded at the start is this loop again, or a triangle within this quad.
    // Such a patch has the start and another of the path's corners, so when the start has more
    // patches than the other corners together, theirs are looked through instead.
    bool AlreadyRecorded() const {
        const std::int32_t start = Corner(0);
        const std::uint32_t atStart = pointRecords_[static_cast<std::size_t>(start)].count;
        if (atStart > kFewRecords) {
            std::uint64_t elsewhere = 0;
            for (int i = 1; i < edgeCount_; ++i) {
                elsewhere +=
                    OtherCorner(i) ? pointRecords_[static_cast<std::size_t>(Corner(i))].count : 0;
            }
            if (elsewhere < atStart) {
                for (int i = 1; i < edgeCount_; ++i) {
                    if (OtherCorner(i) && RecordedAt(Corner(i), start)) {
                        return true;
                    }
                }
                return false;
            }
        }
        return RecordedAt(start, -1);
    }

    // True when corner i is neither the start nor a corner before it: each other corner once.
    bool OtherCorner(int i) const {
        for (int k = 0; k < i; ++k) {
            if (Corner(k) == Corner(i)) {
                return false;
            }
        }
        return true;
    }

    // True when a patch recorded at point, with `alsoAt` among its corners unless that is -1,
    // is this loop or a triangle within this quad.
    bool RecordedAt(std::int32_t point, std::int32_t alsoAt) const {
        for (std::uint32_t r = pointRecords_[static_cast<std::size_t>(point)].first; r != kNone;
             r = records_[r].next) {
            const Corners& corners = corners_[records_[r].patch];
            if (alsoAt >= 0 && std::find(corners.begin(), corners.end(), alsoAt) == corners.end()) {
                continue;
            }
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
            PointRecords& atCorner = pointRecords_[static_cast<std::size_t>(Corner(i))];
            records_.push_back({patchIndex, atCorner.first});
            atCorner.first = static_cast<std::uint32_t>(records_.size() - 1);
            ++atCorner.count;
        }
    }

    // A patch recorded at a corner, in a list per corner.
    struct CornerRecord {
        std::uint32_t patch;
        std::uint32_t next;
    };
    // A point's list of records: its latest one, or kNone, and how many there are.
    struct PointRecords {
        std::uint32_t first = kNone;
        std::uint32_t count = 0;
    };

    PatchObject& object_;
    ReferenceExits exits_;
    std::vector<std::uint32_t> pointMark_;  // startMark_ on the neighbours of the current start
    std::uint32_t startMark_ = 0;
    bool startBusy_ = false;        // the start is asked for its neighbours instead of marking them
    std::vector<Corners> corners_;  // per patch found
    std::vector<CornerRecord> records_;
    std::vector<PointRecords> pointRecords_;  // per point

    // Scratch lists of a busy point's candidate exits (per depth) and the points they lead to.
    std::array<std::vector<std::uint32_t>, 4> candidates_;
    std::vector<std::int32_t> targets_;
    std::vector<std::int32_t> neighbours_;

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
