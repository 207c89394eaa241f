#include "patch/patch_invariants.h"

#include <unordered_map>
#include <unordered_set>

namespace korvane {
namespace {

struct RefKey {
    const Spline* spline;
    const SplineNode* node;
    bool operator==(const RefKey&) const = default;
};

struct RefKeyHash {
    std::size_t operator()(const RefKey& key) const {
        return std::hash<const void*>()(key.spline) * 31 + std::hash<const void*>()(key.node);
    }
};

class InvariantChecker {
public:
    explicit InvariantChecker(const PatchObject& object) : object_(object) {}

    std::vector<std::string> Run() {
        CollectMembership();
        CheckReferences();
        CheckSplines();
        CheckPatches();
        return std::move(problems_);
    }

private:
    void Report(std::string text) { problems_.push_back(std::move(text)); }

    void CollectMembership() {
        for (const ControlPoint* point : object_.controlPoints) {
            points_.insert(point);
        }
        for (const Spline* spline : object_.splines) {
            for (const SplineNode* node : spline->nodes) {
                nodeOwner_[node] = spline;
            }
        }
    }

    void CheckReferences() {
        int pointNumber = 0;
        for (const ControlPoint* point : object_.controlPoints) {
            for (const SplineRef* ref : point->splineRefs) {
                const auto owner = nodeOwner_.find(ref->node);
                if (owner == nodeOwner_.end() || owner->second != ref->spline) {
                    Report("control point " + std::to_string(pointNumber) +
                           " holds a reference to a node that is not in its spline");
                    continue;
                }
                if (ref->node->controlPoint != point) {
                    Report("control point " + std::to_string(pointNumber) +
                           " holds a reference to a node that sits on another point");
                    continue;
                }
                ++refCount_[RefKey{ref->spline, ref->node}];
            }
            ++pointNumber;
        }
    }

    void CheckSplines() {
        int splineNumber = 0;
        for (const Spline* spline : object_.splines) {
            const std::string label = "spline " + std::to_string(splineNumber++);
            if (spline->nodes.GetCount() < 2) {
                Report(label + " has fewer than two nodes");
                continue;
            }
            for (const SplineNode* node : spline->nodes) {
                if (points_.count(node->controlPoint) == 0) {
                    Report(label + " has a node on a point that is not in the object");
                    continue;
                }
                const auto found = refCount_.find(RefKey{spline, node});
                const int matches = found == refCount_.end() ? 0 : found->second;
                if (matches != 1) {
                    Report(label + " has a node matched by " + std::to_string(matches) +
                           " references");
                }
            }
            if (spline->closed != 0 &&
                spline->nodes.GetHead()->controlPoint == spline->nodes.GetTail()->controlPoint) {
                Report(label + " is closed and repeats its head at its tail");
            }
        }
    }

    void CheckPatches() {
        int patchNumber = 0;
        for (const Patch* patch : object_.patches) {
            const std::string label = "patch " + std::to_string(patchNumber++);
            const int corners = patch->cornerCount;
            if (corners != 3 && corners != 4) {
                Report(label + " has " + std::to_string(corners) + " corners");
                continue;
            }
            for (int i = 0; i < corners; ++i) {
                const SplineNode* end = patch->edgeEnd[i];
                const SplineNode* nextStart = patch->edgeStart[(i + 1) % corners];
                if (end == nullptr || nextStart == nullptr ||
                    end->controlPoint != nextStart->controlPoint) {
                    Report(label + " edge " + std::to_string(i) + " does not chain");
                }
            }
        }
    }

    const PatchObject& object_;
    std::unordered_set<const ControlPoint*> points_;
    std::unordered_map<const SplineNode*, const Spline*> nodeOwner_;
    std::unordered_map<RefKey, int, RefKeyHash> refCount_;
    std::vector<std::string> problems_;
};

}  // namespace

std::vector<std::string> CheckPatchInvariants(const PatchObject& object) {
    return InvariantChecker(object).Run();
}

}  // namespace korvane
