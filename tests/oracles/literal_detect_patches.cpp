#include "oracles/literal_detect_patches.h"

#include <array>
#include <vector>

namespace korvane::testing {
namespace {

void ClearPointPatchLists(PatchObject& object) {
    for (ControlPoint* point : object.controlPoints) {
        point->patches.RemoveAll();
    }
}

// Depth-first search for closed loops of n spline segments. A path is a chain of edges, each one
// segment of a spline walked forwards or backwards; a loop is recorded when the last edge ends on
// the control point where the first one started. Loops already recorded from another of their
// edges, or in the other direction, are recognised through the patch lists of the first corner.
class LoopSearch {
  public:
    // Needs the splines numbered: a node's neighbours are found through its index.
    explicit LoopSearch(PatchObject& object) : object_(object) {
        nodeTables_.reserve(static_cast<std::size_t>(object.splines.GetCount()));
        for (const Spline* spline : object.splines) {
            std::vector<SplineNode*>& table = nodeTables_.emplace_back();
            table.reserve(static_cast<std::size_t>(spline->nodes.GetCount()));
            for (SplineNode* node : spline->nodes) {
                table.push_back(node);
            }
        }
    }

    void Run(int edgeCount) {
        edgeCount_ = edgeCount;
        path_ = {};
        for (Spline* spline : object_.splines) {
            for (SplineNode* node : spline->nodes) {
                SplineNode* next = Successor(*spline, *node);
                if (next == nullptr) {
                    break;
                }
                path_[0] = {node, next, spline, 1};
                Extend(1);
            }
        }
    }

  private:
    struct Edge {
        SplineNode* start = nullptr;
        SplineNode* end = nullptr;
        Spline* spline = nullptr;
        std::int32_t forward = 0;
    };

    const std::vector<SplineNode*>& NodesOf(const Spline& spline) const {
        return nodeTables_[static_cast<std::size_t>(spline.index)];
    }

    // The node after node in its spline, wrapping on a closed spline; null past an open tail.
    SplineNode* Successor(const Spline& spline, const SplineNode& node) const {
        const auto& nodes = NodesOf(spline);
        const std::size_t next = static_cast<std::size_t>(node.index) + 1;
        if (next < nodes.size()) {
            return nodes[next];
        }
        return spline.closed != 0 ? nodes.front() : nullptr;
    }

    // The node before node in its spline, wrapping on a closed spline; null before an open head.
    SplineNode* Predecessor(const Spline& spline, const SplineNode& node) const {
        const auto& nodes = NodesOf(spline);
        if (node.index > 0) {
            return nodes[static_cast<std::size_t>(node.index) - 1];
        }
        return spline.closed != 0 ? nodes.back() : nullptr;
    }

    void Extend(int depth) {
        Edge& edge = path_[static_cast<std::size_t>(depth)];
        const ControlPoint* from = path_[static_cast<std::size_t>(depth) - 1].end->controlPoint;
        for (SplineRef* ref : from->splineRefs) {
            edge.spline = ref->spline;
            edge.start = ref->node;

            edge.forward = 1;
            bool continued = false;
            if (SplineNode* next = Successor(*ref->spline, *ref->node)) {
                edge.end = next;
                continued = Continue(depth);
            }
            // The second edge of a quad already ran forward; walking the third one back as well
            // would only find the same loops again from their other side.
            if (edgeCount_ == 4 && continued && depth == 2 && path_[1].forward == 1) {
                continue;
            }

            edge.forward = 0;
            if (SplineNode* previous = Predecessor(*ref->spline, *ref->node)) {
                edge.end = previous;
                Continue(depth);
            }
        }
    }

    // Goes on from the edge at depth unless it turns straight back; true when it went on.
    bool Continue(int depth) {
        const Edge& edge = path_[static_cast<std::size_t>(depth)];
        const Edge& before = path_[static_cast<std::size_t>(depth) - 1];
        if (edge.end->controlPoint == before.start->controlPoint) {
            return false;
        }
        if (depth < edgeCount_ - 1) {
            Extend(depth + 1);
        } else if (edge.end->controlPoint == path_[0].start->controlPoint) {
            Record();
        }
        return true;
    }

    ControlPoint* Corner(int i) const {
        return path_[static_cast<std::size_t>(i % edgeCount_)].start->controlPoint;
    }

    bool AllOneSpline() const {
        for (int i = 1; i < edgeCount_; ++i) {
            if (path_[static_cast<std::size_t>(i)].spline != path_[0].spline) {
                return false;
            }
        }
        return true;
    }

    // True when patch has the path's corners in the same cyclic order, in either direction.
    bool SameCycle(const Patch& patch) const {
        const int n = edgeCount_;
        for (int k = 0; k < n; ++k) {
            if (Corner(k) != patch.edgeStart[0]->controlPoint) {
                continue;
            }
            bool ahead = true;
            bool behind = true;
            for (int step = 1; step < n; ++step) {
                ahead = ahead && Corner(k + step) == patch.edgeStart[step]->controlPoint;
                behind = behind && Corner(k + step) == patch.edgeStart[n - step]->controlPoint;
            }
            if (ahead || behind) {
                return true;
            }
        }
        return false;
    }

    // True when every corner of the triangle is one of the path's corners.
    bool CoversTriangle(const Patch& triangle) const {
        for (int i = 0; i < 3; ++i) {
            bool found = false;
            for (int k = 0; k < edgeCount_; ++k) {
                found = found || Corner(k) == triangle.edgeStart[i]->controlPoint;
            }
            if (!found) {
                return false;
            }
        }
        return true;
    }

    bool AlreadyRecorded() const {
        for (const Patch* patch : Corner(0)->patches) {
            if (patch->cornerCount == edgeCount_ && SameCycle(*patch)) {
                return true;
            }
            if (edgeCount_ == 4 && patch->cornerCount == 3 && CoversTriangle(*patch)) {
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
            const Edge& edge = path_[static_cast<std::size_t>(i)];
            patch->edgeStart[i] = edge.start;
            patch->edgeEnd[i] = edge.end;
            patch->spline[i] = edge.spline;
            patch->forward[i] = edge.forward;
        }
        for (int i = 0; i < edgeCount_; ++i) {
            Corner(i)->patches.AddTail(patch);
        }
    }

    PatchObject& object_;
    std::vector<std::vector<SplineNode*>> nodeTables_;  // per spline, its nodes by index
    int edgeCount_ = 0;
    std::array<Edge, 4> path_;
};

}  // namespace

void LiteralDetectPatches(PatchObject& object) {
    ClearPointPatchLists(object);
    object.DeletePatches();
    object.NumberSplines();
    object.NumberControlPoints();
    LoopSearch search(object);
    search.Run(3);
    search.Run(4);
    ClearPointPatchLists(object);
    object.patchesValid = 1;
}

}  // namespace korvane::testing
