#include <array>
#include <cstdint>
#include <optional>
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
// The walk runs on flat tables built once: every spline's nodes by index, and for every point the
// ways out of it (its references in list order, each with the nodes before and after). Points are
// known by index. A sound network (see CheckPatchInvariants) links its points symmetrically, a
// segment being walked from both of its ends, so a path can only close at its start from a
// neighbour of the start: the last edge is looked for only there, which finds the same loops in
// the same order without walking every path to its full length. In a network that breaks the
// invariants, a reference or node that does not belong where it claims is left out of the walk.
class LoopSearch {
  public:
    // Numbers the control points, splines and nodes, as the tables refer to them by index.
    explicit LoopSearch(PatchObject& object) : object_(object) {
        NumberPoints();
        NumberAndListNodes();
        ListExits();
        pointMark_.assign(points_.size(), 0);
        firstRecord_.assign(pointMark_.size(), kNone);
    }

    void Run(int edgeCount) {
        edgeCount_ = edgeCount;
        std::size_t splineIndex = 0;
        for (Spline* spline : object_.splines) {
            const std::size_t first = splineStart_[splineIndex];
            const std::size_t end = splineStart_[splineIndex + 1];
            ++splineIndex;
            for (std::size_t at = first; at < end; ++at) {
                const std::size_t next = at + 1 < end ? at + 1 : spline->closed != 0 ? first : end;
                if (next == end) {
                    break;
                }
                if (nodePoint_[at] < 0 || nodePoint_[next] < 0) {
                    continue;
                }
                startNode_ = nodes_[at];
                startNext_ = nodes_[next];
                startSpline_ = spline;
                pathPoint_[0] = nodePoint_[at];
                pathPoint_[1] = nodePoint_[next];
                MarkNeighboursOfStart();
                Extend(1);
            }
        }
    }

  private:
    // A way out of a point along one of its references.
    struct Exit {
        SplineRef* ref;
        SplineNode* next;        // null past the tail of an open spline
        SplineNode* previous;    // null before the head of an open spline
        std::int32_t nextPoint;  // the index of next's control point
        std::int32_t previousPoint;
    };

    // An edge of the path after the first: the exit taken and its direction.
    struct Step {
        const Exit* exit;
        bool forward;
    };

    void NumberPoints() {
        points_.reserve(static_cast<std::size_t>(object_.controlPoints.GetCount()));
        for (ControlPoint* point : object_.controlPoints) {
            point->index = static_cast<std::int32_t>(points_.size());
            points_.push_back(point);
        }
    }

    // The index of a node's control point, or -1 when the point is not one of the object's.
    std::int32_t PointOf(const SplineNode& node) const {
        const ControlPoint* point = node.controlPoint;
        const bool ours = point != nullptr && point->index >= 0 &&
                          static_cast<std::size_t>(point->index) < points_.size() &&
                          points_[static_cast<std::size_t>(point->index)] == point;
        return ours ? point->index : -1;
    }

    void NumberAndListNodes() {
        nodes_.reserve(static_cast<std::size_t>(object_.splines.GetCount()) * 2);
        splineStart_.reserve(static_cast<std::size_t>(object_.splines.GetCount()) + 1);
        std::int32_t splineIndex = 0;
        splines_.reserve(static_cast<std::size_t>(object_.splines.GetCount()));
        for (Spline* spline : object_.splines) {
            spline->index = splineIndex++;
            splines_.push_back(spline);
            splineStart_.push_back(nodes_.size());
            std::int32_t nodeIndex = 0;
            for (SplineNode* node : spline->nodes) {
                node->index = nodeIndex++;
                nodes_.push_back(node);
                nodePoint_.push_back(PointOf(*node));
            }
        }
        splineStart_.push_back(nodes_.size());
    }

    // The position of ref's node in nodes_, or none when ref does not name one of the object's
    // splines and one of that spline's nodes.
    std::optional<std::size_t> PositionOf(const SplineRef& ref) const {
        const Spline* spline = ref.spline;
        if (spline == nullptr || spline->index < 0 ||
            static_cast<std::size_t>(spline->index) >= splines_.size() ||
            splines_[static_cast<std::size_t>(spline->index)] != spline || ref.node == nullptr) {
            return std::nullopt;
        }
        const std::size_t first = splineStart_[static_cast<std::size_t>(spline->index)];
        const std::size_t end = splineStart_[static_cast<std::size_t>(spline->index) + 1];
        const std::size_t at = first + static_cast<std::size_t>(ref.node->index);
        if (ref.node->index < 0 || at >= end || nodes_[at] != ref.node) {
            return std::nullopt;
        }
        return at;
    }

    void ListExits() {
        exitStart_.reserve(points_.size() + 1);
        for (const ControlPoint* point : points_) {
            exitStart_.push_back(exits_.size());
            for (SplineRef* ref : point->splineRefs) {
                const std::optional<std::size_t> at = PositionOf(*ref);
                if (!at || nodePoint_[*at] != point->index) {
                    continue;
                }
                const std::size_t first =
                    splineStart_[static_cast<std::size_t>(ref->spline->index)];
                const std::size_t end =
                    splineStart_[static_cast<std::size_t>(ref->spline->index) + 1];
                const bool closed = ref->spline->closed != 0;
                const std::size_t next = *at + 1 < end ? *at + 1 : closed ? first : end;
                const std::size_t previous = *at > first ? *at - 1 : closed ? end - 1 : end;
                Exit exit{ref, nullptr, nullptr, -1, -1};
                if (next != end && nodePoint_[next] >= 0) {
                    exit.next = nodes_[next];
                    exit.nextPoint = nodePoint_[next];
                }
                if (previous != end && nodePoint_[previous] >= 0) {
                    exit.previous = nodes_[previous];
                    exit.previousPoint = nodePoint_[previous];
                }
                exits_.push_back(exit);
            }
        }
        exitStart_.push_back(exits_.size());
    }

    // Marks the points one edge from the start: the only ones from which a loop closes.
    void MarkNeighboursOfStart() {
        ++startMark_;
        const auto start = static_cast<std::size_t>(pathPoint_[0]);
        for (std::size_t e = exitStart_[start]; e < exitStart_[start + 1]; ++e) {
            const Exit& exit = exits_[e];
            if (exit.next != nullptr) {
                pointMark_[static_cast<std::size_t>(exit.nextPoint)] = startMark_;
            }
            if (exit.previous != nullptr) {
                pointMark_[static_cast<std::size_t>(exit.previousPoint)] = startMark_;
            }
        }
    }

    void Extend(int depth) {
        const auto from = static_cast<std::size_t>(pathPoint_[depth]);
        Step& step = path_[static_cast<std::size_t>(depth)];
        for (std::size_t e = exitStart_[from]; e < exitStart_[from + 1]; ++e) {
            const Exit& exit = exits_[e];
            step = {&exit, true};
            const bool continued = exit.next != nullptr && Continue(depth, exit.nextPoint);
            // The second edge of a quad already ran forward; walking the third one back as well
            // would only find the same loops again from their other side.
            if (edgeCount_ == 4 && continued && depth == 2 && path_[1].forward) {
                continue;
            }
            step = {&exit, false};
            if (exit.previous != nullptr) {
                Continue(depth, exit.previousPoint);
            }
        }
    }

    // Goes on from the edge at depth, which ends on point `end`, unless it turns straight back;
    // true when it went on.
    bool Continue(int depth, std::int32_t end) {
        if (end == pathPoint_[depth - 1]) {
            return false;
        }
        if (depth < edgeCount_ - 1) {
            if (depth < edgeCount_ - 2 || pointMark_[static_cast<std::size_t>(end)] == startMark_) {
                pathPoint_[depth + 1] = end;
                Extend(depth + 1);
            }
        } else if (end == pathPoint_[0]) {
            Record();
        }
        return true;
    }

    Spline* SplineOf(int i) const {
        return i == 0 ? startSpline_ : path_[static_cast<std::size_t>(i)].exit->ref->spline;
    }

    bool AllOneSpline() const {
        for (int i = 1; i < edgeCount_; ++i) {
            if (SplineOf(i) != startSpline_) {
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
        patch->edgeStart[0] = startNode_;
        patch->edgeEnd[0] = startNext_;
        patch->spline[0] = startSpline_;
        patch->forward[0] = 1;
        for (int i = 1; i < edgeCount_; ++i) {
            const Step& step = path_[static_cast<std::size_t>(i)];
            patch->edgeStart[i] = step.exit->ref->node;
            patch->edgeEnd[i] = step.forward ? step.exit->next : step.exit->previous;
            patch->spline[i] = step.exit->ref->spline;
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
    std::vector<ControlPoint*> points_;     // by index
    std::vector<Spline*> splines_;          // by index
    std::vector<SplineNode*> nodes_;        // every spline's nodes in order, spline after spline
    std::vector<std::int32_t> nodePoint_;   // the index of each node's control point
    std::vector<std::size_t> splineStart_;  // where each spline's nodes begin in nodes_
    std::vector<Exit> exits_;               // every point's exits, point after point
    std::vector<std::size_t> exitStart_;    // where each point's exits begin in exits_
    std::vector<std::uint32_t> pointMark_;  // startMark_ on the neighbours of the current start
    std::uint32_t startMark_ = 0;
    std::vector<std::array<std::int32_t, 4>> recordedCorners_;  // per patch; -1 after a triangle
    std::vector<CornerRecord> records_;
    std::vector<std::uint32_t> firstRecord_;  // per point, its latest record, or kNone

    int edgeCount_ = 0;
    SplineNode* startNode_ = nullptr;
    SplineNode* startNext_ = nullptr;
    Spline* startSpline_ = nullptr;
    std::array<std::int32_t, 4> pathPoint_{};  // the point each edge starts from
    std::array<Step, 4> path_{};               // edges 1 to n - 1
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
