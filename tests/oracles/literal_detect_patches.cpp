#include "oracles/literal_detect_patches.h"

#include <array>
#include <unordered_map>

namespace korvane::testing {
namespace {

// Depth-first search for closed loops of n spline segments. A path is a chain of edges, each one
// segment of a spline walked forwards or backwards; a loop is recorded when the last edge ends on
// the control point where the first one started. Loops already recorded from another of their
// edges, or in the other direction, are recognised through the patch lists of the first corner.
class LoopSearch {
  public:
    explicit LoopSearch(const LiteralNetwork& network)
        : network_(network), pointPatches_(network.points.size()) {
        for (const LiteralSpline& spline : network.splines) {
            const int s = static_cast<int>(nodeTables_.size());
            splineIndex_.emplace(&spline, s);
            std::vector<const LiteralNode*>& table = nodeTables_.emplace_back();
            for (const LiteralNode& node : spline.nodes) {
                nodeIndex_.emplace(&node, static_cast<int>(table.size()));
                table.push_back(&node);
            }
        }
    }

    void Run(int edgeCount) {
        edgeCount_ = edgeCount;
        path_ = {};
        for (const LiteralSpline& spline : network_.splines) {
            for (const LiteralNode& node : spline.nodes) {
                const LiteralNode* next = Successor(spline, node);
                if (next == nullptr) {
                    break;
                }
                path_[0] = {&node, next, &spline, true};
                Extend(1);
            }
        }
    }

    std::vector<PatchShape> Patches() const {
        std::vector<PatchShape> shapes;
        for (const Found& found : found_) {
            PatchShape& shape = shapes.emplace_back(PatchShape{found.cornerCount, {}});
            for (int i = 0; i < found.cornerCount; ++i) {
                const Edge& edge = found.edges[static_cast<std::size_t>(i)];
                shape.edges[static_cast<std::size_t>(i)] = {splineIndex_.at(edge.spline),
                                                            nodeIndex_.at(edge.start),
                                                            nodeIndex_.at(edge.end), edge.forward};
            }
        }
        return shapes;
    }

  private:
    struct Edge {
        const LiteralNode* start = nullptr;
        const LiteralNode* end = nullptr;
        const LiteralSpline* spline = nullptr;
        bool forward = false;
    };

    struct Found {
        int cornerCount;
        std::array<Edge, 4> edges;
    };

    // The node after node in its spline, wrapping on a closed spline; null past an open tail.
    const LiteralNode* Successor(const LiteralSpline& spline, const LiteralNode& node) const {
        const auto& nodes = nodeTables_[static_cast<std::size_t>(splineIndex_.at(&spline))];
        const std::size_t next = static_cast<std::size_t>(nodeIndex_.at(&node)) + 1;
        if (next < nodes.size()) {
            return nodes[next];
        }
        return spline.closed ? nodes.front() : nullptr;
    }

    // The node before node in its spline, wrapping on a closed spline; null before an open head.
    const LiteralNode* Predecessor(const LiteralSpline& spline, const LiteralNode& node) const {
        const auto& nodes = nodeTables_[static_cast<std::size_t>(splineIndex_.at(&spline))];
        const int index = nodeIndex_.at(&node);
        if (index > 0) {
            return nodes[static_cast<std::size_t>(index) - 1];
        }
        return spline.closed ? nodes.back() : nullptr;
    }

    void Extend(int depth) {
        Edge& edge = path_[static_cast<std::size_t>(depth)];
        const std::int32_t from = path_[static_cast<std::size_t>(depth) - 1].end->point;
        for (const LiteralRef& ref : network_.refs[static_cast<std::size_t>(from)]) {
            edge.spline = ref.spline;
            edge.start = ref.node;

            edge.forward = true;
            bool continued = false;
            if (const LiteralNode* next = Successor(*ref.spline, *ref.node)) {
                edge.end = next;
                continued = Continue(depth);
            }
            // The second edge of a quad already ran forward; walking the third one back as well
            // would only find the same loops again from their other side.
            if (edgeCount_ == 4 && continued && depth == 2 && path_[1].forward) {
                continue;
            }

            edge.forward = false;
            if (const LiteralNode* previous = Predecessor(*ref.spline, *ref.node)) {
                edge.end = previous;
                Continue(depth);
            }
        }
    }

    // Goes on from the edge at depth unless it turns straight back; true when it went on.
    bool Continue(int depth) {
        const Edge& edge = path_[static_cast<std::size_t>(depth)];
        const Edge& before = path_[static_cast<std::size_t>(depth) - 1];
        if (edge.end->point == before.start->point) {
            return false;
        }
        if (depth < edgeCount_ - 1) {
            Extend(depth + 1);
        } else if (edge.end->point == path_[0].start->point) {
            Record();
        }
        return true;
    }

    std::int32_t Corner(int i) const {
        return path_[static_cast<std::size_t>(i % edgeCount_)].start->point;
    }

    static std::int32_t CornerOf(const Found& patch, int i) {
        return patch.edges[static_cast<std::size_t>(i)].start->point;
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
    bool SameCycle(const Found& patch) const {
        const int n = edgeCount_;
        for (int k = 0; k < n; ++k) {
            if (Corner(k) != CornerOf(patch, 0)) {
                continue;
            }
            bool ahead = true;
            bool behind = true;
            for (int step = 1; step < n; ++step) {
                ahead = ahead && Corner(k + step) == CornerOf(patch, step);
                behind = behind && Corner(k + step) == CornerOf(patch, n - step);
            }
            if (ahead || behind) {
                return true;
            }
        }
        return false;
    }

    // True when every corner of the triangle is one of the path's corners.
    bool CoversTriangle(const Found& triangle) const {
        for (int i = 0; i < 3; ++i) {
            bool found = false;
            for (int k = 0; k < edgeCount_; ++k) {
                found = found || Corner(k) == CornerOf(triangle, i);
            }
            if (!found) {
                return false;
            }
        }
        return true;
    }

    bool AlreadyRecorded() const {
        for (std::size_t patch : pointPatches_[static_cast<std::size_t>(Corner(0))]) {
            const Found& found = found_[patch];
            if (found.cornerCount == edgeCount_ && SameCycle(found)) {
                return true;
            }
            if (edgeCount_ == 4 && found.cornerCount == 3 && CoversTriangle(found)) {
                return true;
            }
        }
        return false;
    }

    void Record() {
        if (AllOneSpline() || AlreadyRecorded()) {
            return;
        }
        found_.push_back({edgeCount_, path_});
        for (int i = 0; i < edgeCount_; ++i) {
            pointPatches_[static_cast<std::size_t>(Corner(i))].push_back(found_.size() - 1);
        }
    }

    const LiteralNetwork& network_;
    std::vector<std::vector<const LiteralNode*>> nodeTables_;  // per spline, its nodes by index
    std::unordered_map<const LiteralSpline*, int> splineIndex_;
    std::unordered_map<const LiteralNode*, int> nodeIndex_;
    std::vector<std::vector<std::size_t>> pointPatches_;  // per point, the patches at it
    std::vector<Found> found_;
    int edgeCount_ = 0;
    std::array<Edge, 4> path_;
};

}  // namespace

std::vector<PatchShape> LiteralDetectPatches(const LiteralNetwork& network) {
    LoopSearch search(network);
    search.Run(3);
    search.Run(4);
    return search.Patches();
}

}  // namespace korvane::testing
