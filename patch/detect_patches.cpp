#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "geometry/huge_pages.h"
#include "patch/patch_builder.h"
#include "patch/patch_network_access.h"
#include "patch/reference_exits.h"

namespace korvane {
namespace {

constexpr std::uint32_t kNone = UINT32_MAX;
// Other corners with fewer patches than this together are looked through for repeats instead of a
// busy start.
constexpr std::uint32_t kFewRecords = 8;
// Splines searched between two progress reports and questions whether to stop.
constexpr std::int32_t kSplinesBetweenChecks = 64;

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
          patches_(PatchNetworkAccess::Patches(object)),
          exits_(object),
          pointMark_(object.Points().size(), 0),
          firstRecord_(object.Points().size(), kNone) {
        // About one patch per four references in a mesh of quads; more only costs address space.
        patches_.reserve(object.Refs().size() / 4);
        corners_.reserve(object.Refs().size() / 4);
        records_.reserve(object.Refs().size());
        AdviseHugePages(patches_);
        AdviseHugePages(corners_);
        AdviseHugePages(records_);
    }

    // Searches from every spline in turn; false when cancelled stopped it. progress receives
    // doneBefore plus the splines searched.
    bool Run(int edgeCount, std::int32_t doneBefore, const ProgressReceiver& progress,
             const CancelCheck& cancelled) {
        edgeCount_ = edgeCount;
        for (std::int32_t spline = 0; spline < object_.SplineCount(); ++spline) {
            if (spline % kSplinesBetweenChecks == 0) {
                if (progress) {
                    progress(doneBefore + spline);
                }
                if (cancelled && cancelled()) {
                    return false;
                }
            }
            const std::int32_t first = object_.SplineStarts()[static_cast<std::size_t>(spline)];
            const std::int32_t end = object_.SplineStarts()[static_cast<std::size_t>(spline) + 1];
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
        return true;
    }

  private:
    // The corners of a recorded patch, -1 in the fourth place of a triangle: beside the search's
    // other working tables, so that looking for repeats does not reach into the nodes.
    using Corners = std::array<std::int32_t, 4>;

    // A reference of a busy point to walk, and which ways.
    static constexpr std::uint8_t kForwards = 1;
    static constexpr std::uint8_t kBackwards = 2;
    static constexpr std::uint8_t kBothWays = kForwards | kBackwards;
    struct Candidate {
        std::uint32_t reference;
        std::uint8_t ways;
    };

    // An edge of the path: a segment of a spline from its start node to the neighbour on the side
    // that forward_ gives, found again only when a loop is recorded.
    struct Edge {
        std::int32_t spline;
        std::int32_t start;
    };

    std::int32_t PointOf(std::int32_t node) const {
        const std::int32_t point = object_.Nodes()[static_cast<std::size_t>(node)].controlPoint;
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
        const auto at = static_cast<std::size_t>(start);
        for (std::int32_t r = object_.RefStarts()[at]; r < object_.RefStarts()[at + 1]; ++r) {
            const ReferenceExits::Exits& exits = exits_.Of(static_cast<std::uint32_t>(r));
            if (exits.next >= 0) {
                pointMark_[static_cast<std::size_t>(exits.next)] = startMark_;
            }
            if (exits.previous >= 0) {
                pointMark_[static_cast<std::size_t>(exits.previous)] = startMark_;
            }
        }
    }

    bool NeighbourOfStart(std::int32_t point) const {
        return startBusy_ ? exits_.LeadsTo(pathPoint_[0], point)
                          : pointMark_[static_cast<std::size_t>(point)] == startMark_;
    }

    void Extend(int depth) {
        if (exits_.Busy(pathPoint_[static_cast<std::size_t>(depth)]) && ListCandidates(depth)) {
            WalkFrom<true>(depth);
        } else {
            WalkFrom<false>(depth);
        }
    }

    // Walks each reference of the point at depth forwards and then backwards, or at a busy point
    // only the listed ones, in the listed directions.
    template <bool kListed>
    void WalkFrom(int depth) {
        const auto point = static_cast<std::size_t>(pathPoint_[static_cast<std::size_t>(depth)]);
        const std::vector<Candidate>& candidates = candidates_[static_cast<std::size_t>(depth)];
        const auto first = kListed ? 0u : static_cast<std::uint32_t>(object_.RefStarts()[point]);
        const auto end = kListed ? static_cast<std::uint32_t>(candidates.size())
                                 : static_cast<std::uint32_t>(object_.RefStarts()[point + 1]);
        Edge& edge = path_[static_cast<std::size_t>(depth)];
        bool& forward = forward_[static_cast<std::size_t>(depth)];
        for (std::uint32_t i = first; i < end; ++i) {
            const std::uint32_t r = kListed ? candidates[i].reference : i;
            const std::uint8_t ways = kListed ? candidates[i].ways : kBothWays;
            const ReferenceExits::Exits& exits = exits_.Of(r);
            const SplineRef& ref = object_.Refs()[r];
            forward = true;
            edge = {ref.spline, ref.node};
            // An exit left off the list would go on without finding anything.
            const bool continued =
                exits.next >= 0 &&
                ((ways & kForwards) != 0
                     ? Continue(depth, exits.next)
                     : exits.next != pathPoint_[static_cast<std::size_t>(depth) - 1]);
            // The second edge of a quad already ran forward; walking the third one back as well
            // would only find the same loops again from their other side.
            if (edgeCount_ == 4 && continued && depth == 2 && forward_[1]) {
                continue;
            }
            forward = false;
            if (exits.previous >= 0 && (ways & kBackwards) != 0) {
                Continue(depth, exits.previous);
            }
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
        listedExits_.clear();
        for (const std::int32_t target : targets_) {
            exits_.AppendExitsTo(from, target, listedExits_);
        }
        std::sort(listedExits_.begin(), listedExits_.end());
        std::vector<Candidate>& candidates = candidates_[static_cast<std::size_t>(depth)];
        candidates.clear();
        for (const std::uint32_t exit : listedExits_) {
            const std::uint8_t way = exit % 2 == 0 ? kForwards : kBackwards;
            if (candidates.empty() || candidates.back().reference != exit / 2) {
                candidates.push_back({exit / 2, way});
            } else {
                candidates.back().ways |= way;
            }
        }
        return true;
    }

    template <class T>
    static void SortUnique(std::vector<T>& values) {
        std::sort(values.begin(), values.end());
        values.erase(std::unique(values.begin(), values.end()), values.end());
    }

    // Goes on from the edge at depth, which ends on point `end`, unless it turns straight back;
    // true when it went on.
    bool Continue(int depth, std::int32_t end) {
        if (end == pathPoint_[static_cast<std::size_t>(depth) - 1]) {
            return false;
        }
        if (depth < edgeCount_ - 1) {
            if (depth < edgeCount_ - 2 || NeighbourOfStart(end)) {
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

    // True when a patch recorded at the start is this loop again, or a triangle within this quad.
    // Such a patch has the start and another of the path's corners, so at a busy start, where
    // patches may be many, those of the other corners are looked through when they are few.
    bool AlreadyRecorded() const {
        const std::int32_t start = Corner(0);
        if (startBusy_ && OtherCornersHaveFew()) {
            return RecordedAtOtherCorners(start);
        }
        for (std::uint32_t r = firstRecord_[static_cast<std::size_t>(start)]; r != kNone;
             r = records_[r].next) {
            if (Repeats(records_[r].patch)) {
                return true;
            }
        }
        return false;
    }

    // The same, looked for among the patches of the other corners that have the start as well.
    bool RecordedAtOtherCorners(std::int32_t start) const {
        for (int i = 1; i < edgeCount_; ++i) {
            if (OtherCorner(i) && RecordedAt(Corner(i), start)) {
                return true;
            }
        }
        return false;
    }

    // True when the corners other than the start have fewer than kFewRecords patches together.
    bool OtherCornersHaveFew() const {
        std::uint32_t count = 0;
        for (int i = 1; i < edgeCount_; ++i) {
            if (!OtherCorner(i)) {
                continue;
            }
            for (std::uint32_t r = firstRecord_[static_cast<std::size_t>(Corner(i))];
                 r != kNone && count < kFewRecords; r = records_[r].next) {
                ++count;
            }
        }
        return count < kFewRecords;
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

    // True when a patch recorded at point, with `start` among its corners, is this loop or a
    // triangle within this quad.
    bool RecordedAt(std::int32_t point, std::int32_t start) const {
        for (std::uint32_t r = firstRecord_[static_cast<std::size_t>(point)]; r != kNone;
             r = records_[r].next) {
            const Corners& corners = corners_[records_[r].patch];
            if (std::find(corners.begin(), corners.end(), start) != corners.end() &&
                Repeats(records_[r].patch)) {
                return true;
            }
        }
        return false;
    }

    // True when the recorded patch is this loop, or a triangle within this quad.
    bool Repeats(std::uint32_t patch) const {
        const Corners& corners = corners_[patch];
        const int cornerCount = corners[3] < 0 ? 3 : 4;
        return (cornerCount == edgeCount_ && SameCycle(corners)) ||
               (edgeCount_ == 4 && cornerCount == 3 && CoversTriangle(corners));
    }

    void Record() {
        if (AllOneSpline() || AlreadyRecorded()) {
            return;
        }
        const auto patchIndex = static_cast<std::uint32_t>(patches_.size());
        Patch& patch = patches_.emplace_back();
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

    const PatchObject& object_;
    std::vector<Patch>& patches_;
    ReferenceExits exits_;
    std::vector<std::uint32_t> pointMark_;  // startMark_ on the neighbours of the current start
    std::uint32_t startMark_ = 0;
    bool startBusy_ = false;        // the start is asked for its neighbours instead of marking them
    std::vector<Corners> corners_;  // per patch found
    std::vector<CornerRecord> records_;
    std::vector<std::uint32_t> firstRecord_;  // per point, its latest record, or kNone

    // Scratch lists of a busy point's candidate exits (per depth) and the points they lead to.
    std::array<std::vector<Candidate>, 4> candidates_;
    std::vector<std::uint32_t> listedExits_;
    std::vector<std::int32_t> targets_;
    std::vector<std::int32_t> neighbours_;

    int edgeCount_ = 0;
    std::array<std::int32_t, 4> pathPoint_{};  // the point each edge starts from
    std::array<Edge, 4> path_{};
    std::array<bool, 4> forward_{};
};

}  // namespace

void DetectPatches(PatchObject& object) {
    DetectPatches(object, {}, {});
}

bool DetectPatches(PatchObject& object, const ProgressReceiver& progress,
                   const CancelCheck& cancelled) {
    object.DeletePatches();
    // Before the search's tables are built, which takes a while on a big object.
    if (progress) {
        progress(0);
    }
    if (cancelled && cancelled()) {
        return false;
    }
    LoopSearch search(object);
    if (!search.Run(3, 0, progress, cancelled) ||
        !search.Run(4, object.SplineCount(), progress, cancelled)) {
        object.DeletePatches();
        return false;
    }
    PatchNetworkAccess::SetPatchesValid(object, true);
    if (progress) {
        progress(PatchSearchLength(object));
    }
    return true;
}

std::int32_t PatchSearchLength(const PatchObject& object) {
    return 2 * object.SplineCount();
}

}  // namespace korvane
