#include <array>
#include <cstdint>
#include <vector>

#include "patch/patch_builder.h"

namespace korvane {
namespace {

constexpr std::uint32_t kNone = UINT32_MAX;

// Depth-first search for closed loops of n spline segments. A path is a chain of edges, each one
// segment of a spline walked forwards or backwards; a loop is recorded when the last edge ends on
// the control point where the first one started. Loops already recorded from another of their
// edges, or in the other direction, are recognised through the patches recorded at the first
// corner.
//
// The walk runs on flat tables built once, since chasing list links through a network of a
// million faces misses the cache at nearly every step: every spline's nodes by position, and for
// every point the ways out of it (its references in list order, each with the nodes before and
// after). A sound network (see CheckPatchInvariants) links its points symmetrically, a segment
// being walked from both of its ends, so a path can only close at its start from a neighbour of
// the start: the last edge is looked for only there, which finds the same loops in the same order
// without walking every path to its full length. The tables are built without reading anything
// out of range from a network that breaks the invariants, but the patches found there are
// unspecified.
class LoopSearch {
  public:
    // Numbers the splines, nodes and control points, as the tables refer to them by index.
    explicit LoopSearch(PatchObject& object) : object_(object) {
        NumberAndListNodes();
        NumberPointsAndListExits();
        LinkExits();
        pointMark_.assign(exitStart_.size() - 1, 0);
        firstRecord_.assign(exitStart_.size() - 1, kNone);
    }

    void Run(int edgeCount) {
        edgeCount_ = edgeCount;
        for (std::size_t spline = 0; spline < splines_.size(); ++spline) {
            const std::uint32_t first = splineStart_[spline];
            const std::uint32_t end = splineStart_[spline + 1];
            for (std::uint32_t at = first; at < end; ++at) {
                const std::uint32_t next = at + 1 < end ? at + 1 : closed_[spline] ? first : end;
                if (next == end) {
                    break;
                }
                if (nodePoint_[at] < 0 || nodePoint_[next] < 0) {
                    continue;
                }
                start_ = {at, static_cast<std::uint32_t>(spline), next, kNone, 0, 0};
                pathPoint_[0] = nodePoint_[at];
                pathPoint_[1] = nodePoint_[next];
                path_[0] = {&start_, true};
                MarkNeighboursOfStart();
                Extend(1);
            }
        }
    }

  private:
    // A way out of a point along one of its references. Nodes are positions in nodes_.
    struct Exit {
        std::uint32_t node;      // the referenced node, on the point
        std::uint32_t spline;    // index of its spline
        std::uint32_t next;      // kNone past the tail of an open spline
        std::uint32_t previous;  // kNone before the head of an open spline
        std::int32_t nextPoint;  // the index of next's control point
        std::int32_t previousPoint;
    };

    // An edge of the path: the exit taken and its direction.
    struct Step {
        const Exit* exit;
        bool forward;
    };

    void NumberAndListNodes() {
        std::size_t nodeCount = 0;
        for (const Spline* spline : object_.splines) {
            nodeCount += static_cast<std::size_t>(spline->nodes.GetCount());
        }
        nodes_.reserve(nodeCount);
        splines_.reserve(static_cast<std::size_t>(object_.splines.GetCount()));
        closed_.reserve(splines_.capacity());
        splineStart_.reserve(splines_.capacity() + 1);
        std::int32_t splineIndex = 0;
        for (Spline* spline : object_.splines) {
            spline->index = splineIndex++;
            splines_.push_back(spline);
            closed_.push_back(spline->closed != 0);
            splineStart_.push_back(static_cast<std::uint32_t>(nodes_.size()));
            std::int32_t nodeIndex = 0;
            for (SplineNode* node : spline->nodes) {
                node->index = nodeIndex++;
                nodes_.push_back(node);
            }
        }
        splineStart_.push_back(static_cast<std::uint32_t>(nodes_.size()));
        nodePoint_.assign(nodes_.size(), -1);
    }

    // The position of ref's node in nodes_, or kNone when ref does not name one of the object's
    // splines and a node position within it, on `point`.
    std::uint32_t PositionOf(const SplineRef& ref, const ControlPoint& point) const {
        const Spline* spline = ref.spline;
        const SplineNode* node = ref.node;
        if (spline == nullptr || node == nullptr || node->controlPoint != &point ||
            spline->index < 0 || static_cast<std::size_t>(spline->index) >= splines_.size() ||
            splines_[static_cast<std::size_t>(spline->index)] != spline || node->index < 0) {
            return kNone;
        }
        const std::uint64_t at =
            std::uint64_t{splineStart_[static_cast<std::size_t>(spline->index)]} +
            static_cast<std::uint64_t>(node->index);
        return at < splineStart_[static_cast<std::size_t>(spline->index) + 1]
                   ? static_cast<std::uint32_t>(at)
                   : kNone;
    }

    // Every point's references in list order; a node's point is known from its reference.
    void NumberPointsAndListExits() {
        std::size_t refCount = 0;
        std::int32_t pointIndex = 0;
        for (ControlPoint* point : object_.controlPoints) {
            point->index = pointIndex++;
            refCount += static_cast<std::size_t>(point->splineRefs.GetCount());
        }
        exits_.reserve(refCount);
        exitStart_.reserve(static_cast<std::size_t>(pointIndex) + 1);
        for (const ControlPoint* point : object_.controlPoints) {
            exitStart_.push_back(static_cast<std::uint32_t>(exits_.size()));
            for (const SplineRef* ref : point->splineRefs) {
                const std::uint32_t at = PositionOf(*ref, *point);
                if (at == kNone) {
                    continue;
                }
                nodePoint_[at] = point->index;
                exits_.push_back(
                    {at, static_cast<std::uint32_t>(ref->spline->index), kNone, kNone, -1, -1});
            }
        }
        exitStart_.push_back(static_cast<std::uint32_t>(exits_.size()));
    }

    // The nodes before and after each exit's node, wrapping on a closed spline; a node that no
    // point references is no way on.
    void LinkExits() {
        for (Exit& exit : exits_) {
            const std::uint32_t first = splineStart_[exit.spline];
            const std::uint32_t end = splineStart_[exit.spline + 1];
            const bool closed = closed_[exit.spline];
            const std::uint32_t next = exit.node + 1 < end ? exit.node + 1 : closed ? first : end;
            const std::uint32_t previous = exit.node > first ? exit.node - 1
                                           : closed          ? end - 1
                                                             : end;
            if (next != end && nodePoint_[next] >= 0) {
                exit.next = next;
                exit.nextPoint = nodePoint_[next];
            }
            if (previous != end && nodePoint_[previous] >= 0) {
                exit.previous = previous;
                exit.previousPoint = nodePoint_[previous];
            }
        }
    }

    // Marks the points one edge from the start: the only ones from which a loop closes.
    void MarkNeighboursOfStart() {
        ++startMark_;
        const auto start = static_cast<std::size_t>(pathPoint_[0]);
        for (std::uint32_t e = exitStart_[start]; e < exitStart_[start + 1]; ++e) {
            const Exit& exit = exits_[e];
            if (exit.next != kNone) {
                pointMark_[static_cast<std::size_t>(exit.nextPoint)] = startMark_;
            }
            if (exit.previous != kNone) {
                pointMark_[static_cast<std::size_t>(exit.previousPoint)] = startMark_;
            }
        }
    }

    void Extend(int depth) {
        const auto from = static_cast<std::size_t>(pathPoint_[static_cast<std::size_t>(depth)]);
        Step& step = path_[static_cast<std::size_t>(depth)];
        for (std::uint32_t e = exitStart_[from]; e < exitStart_[from + 1]; ++e) {
            const Exit& exit = exits_[e];
            step = {&exit, true};
            const bool continued = exit.next != kNone && Continue(depth, exit.nextPoint);
            // The second edge of a quad already ran forward; walking the third one back as well
            // would only find the same loops again from their other side.
            if (edgeCount_ == 4 && continued && depth == 2 && path_[1].forward) {
                continue;
            }
            step = {&exit, false};
            if (exit.previous != kNone) {
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
            if (path_[static_cast<std::size_t>(i)].exit->spline != start_.spline) {
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
    bool SameCycle(const std::array<std::int32_t, 4>& corners) const {
        const int n = edgeCount_;
        for (int k = 0; k < n; ++k) {
            if (Corner(k) != corners[0]) {
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
    bool CoversTriangle(const std::array<std::int32_t, 4>& triangle) const {
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
            const std::array<std::int32_t, 4>& corners = recordedCorners_[records_[r].patch];
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
        Patch* patch = object_.AddPatch();
        patch->cornerCount = edgeCount_;
        for (int i = 0; i < edgeCount_; ++i) {
            const Step& step = path_[static_cast<std::size_t>(i)];
            patch->edgeStart[i] = nodes_[step.exit->node];
            patch->edgeEnd[i] = nodes_[step.forward ? step.exit->next : step.exit->previous];
            patch->spline[i] = splines_[step.exit->spline];
            patch->forward[i] = step.forward ? 1 : 0;
        }
        const auto patchIndex = static_cast<std::uint32_t>(recordedCorners_.size());
        std::array<std::int32_t, 4> corners = {-1, -1, -1, -1};
        for (int i = 0; i < edgeCount_; ++i) {
            corners[static_cast<std::size_t>(i)] = Corner(i);
            std::uint32_t& first = firstRecord_[static_cast<std::size_t>(Corner(i))];
            records_.push_back({patchIndex, first});
            first = static_cast<std::uint32_t>(records_.size() - 1);
        }
        recordedCorners_.push_back(corners);
    }

    // A patch recorded at a corner, in a list per corner linked from firstRecord_.
    struct CornerRecord {
        std::uint32_t patch;
        std::uint32_t next;
    };

    PatchObject& object_;
    std::vector<Spline*> splines_;            // by index
    std::vector<char> closed_;                // per spline
    std::vector<std::uint32_t> splineStart_;  // where each spline's nodes begin in nodes_
    std::vector<SplineNode*> nodes_;          // every spline's nodes in order, spline after spline
    std::vector<std::int32_t> nodePoint_;     // the index of each node's point, or -1 for none
    std::vector<Exit> exits_;                 // every point's exits, point after point
    std::vector<std::uint32_t> exitStart_;    // where each point's exits begin in exits_
    std::vector<std::uint32_t> pointMark_;    // startMark_ on the neighbours of the current start
    std::uint32_t startMark_ = 0;
    std::vector<std::array<std::int32_t, 4>> recordedCorners_;  // per patch; -1 after a triangle
    std::vector<CornerRecord> records_;
    std::vector<std::uint32_t> firstRecord_;  // per point, its latest record, or kNone

    int edgeCount_ = 0;
    Exit start_{};                             // the first edge: a node and the one after it
    std::array<std::int32_t, 4> pathPoint_{};  // the point each edge starts from
    std::array<Step, 4> path_{};
};

}  // namespace

void DetectPatches(PatchObject& object) {
    for (ControlPoint* point : object.controlPoints) {
        point->patches.RemoveAll();
    }
    object.DeletePatches();
    LoopSearch search(object);
    search.Run(3);
    search.Run(4);
    object.patchesValid = 1;
}

}  // namespace korvane
