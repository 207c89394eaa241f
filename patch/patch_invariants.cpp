#include "patch/patch_invariants.h"

#include <cstddef>
#include <cstdint>

namespace korvane {
namespace {

// Whether starts splits `total` entries among starts.size() - 1 owners.
bool WellFormedStarts(const std::vector<std::int32_t>& starts, std::size_t owners,
                      std::size_t total) {
    if (starts.size() != owners + 1 || starts.front() != 0 ||
        static_cast<std::size_t>(starts.back()) != total) {
        return false;
    }
    for (std::size_t i = 1; i < starts.size(); ++i) {
        if (starts[i] < starts[i - 1]) {
            return false;
        }
    }
    return true;
}

class InvariantChecker {
  public:
    explicit InvariantChecker(const PatchObject& object) : object_(object) {}

    std::vector<std::string> Run() {
        const bool splinesFormed = WellFormedStarts(
            object_.SplineStarts(), object_.SplineClosedFlags().size(), object_.Nodes().size());
        const bool refsFormed =
            WellFormedStarts(object_.RefStarts(), object_.Points().size(), object_.Refs().size());
        if (!splinesFormed) {
            Report("the spline starts do not split the nodes among the splines");
        }
        if (!refsFormed) {
            Report("the reference starts do not split the references among the points");
        }
        if (splinesFormed && refsFormed) {
            CheckReferences();
            CheckSplines();
            CheckPatches();
        }
        return std::move(problems_);
    }

  private:
    void Report(std::string text) { problems_.push_back(std::move(text)); }

    bool InSpline(std::int32_t spline, std::int32_t node) const {
        return spline >= 0 && spline < object_.SplineCount() &&
               node >= object_.SplineStarts()[static_cast<std::size_t>(spline)] &&
               node < object_.SplineStarts()[static_cast<std::size_t>(spline) + 1];
    }

    void CheckReferences() {
        matches_.assign(object_.Nodes().size(), 0);
        for (std::int32_t point = 0; point < object_.PointCount(); ++point) {
            for (const SplineRef& ref : object_.RefsOf(point)) {
                if (!InSpline(ref.spline, ref.node)) {
                    Report("control point " + std::to_string(point) +
                           " holds a reference to a node that is not in its spline");
                    continue;
                }
                if (object_.Nodes()[static_cast<std::size_t>(ref.node)].controlPoint != point) {
                    Report("control point " + std::to_string(point) +
                           " holds a reference to a node that sits on another point");
                    continue;
                }
                ++matches_[static_cast<std::size_t>(ref.node)];
            }
        }
    }

    void CheckSplines() {
        for (std::int32_t spline = 0; spline < object_.SplineCount(); ++spline) {
            const std::string label = "spline " + std::to_string(spline);
            const std::span<const SplineNode> nodes = object_.SplineNodes(spline);
            if (nodes.size() < 2) {
                Report(label + " has fewer than two nodes");
                continue;
            }
            const std::int32_t first = object_.SplineStarts()[static_cast<std::size_t>(spline)];
            for (std::size_t k = 0; k < nodes.size(); ++k) {
                if (nodes[k].controlPoint < 0 || nodes[k].controlPoint >= object_.PointCount()) {
                    Report(label + " has a node on a point that is not in the object");
                    continue;
                }
                const int matches = matches_[static_cast<std::size_t>(first) + k];
                if (matches != 1) {
                    Report(label + " has a node matched by " + std::to_string(matches) +
                           " references");
                }
            }
            if (object_.Closed(spline) && nodes.front().controlPoint == nodes.back().controlPoint) {
                Report(label + " is closed and repeats its head at its tail");
            }
        }
    }

    void CheckPatches() {
        for (std::size_t p = 0; p < object_.Patches().size(); ++p) {
            const Patch& patch = object_.Patches()[p];
            const std::string label = "patch " + std::to_string(p);
            const int corners = patch.cornerCount;
            if (corners != 3 && corners != 4) {
                Report(label + " has " + std::to_string(corners) + " corners");
                continue;
            }
            bool inRange = true;
            for (std::size_t i = 0; i < static_cast<std::size_t>(corners); ++i) {
                if (!InSpline(patch.spline[i], patch.edgeStart[i]) ||
                    !InSpline(patch.spline[i], patch.edgeEnd[i])) {
                    Report(label + " edge " + std::to_string(i) +
                           " names a node not in its spline");
                    inRange = false;
                }
            }
            if (!inRange) {
                continue;
            }
            for (std::size_t i = 0; i < static_cast<std::size_t>(corners); ++i) {
                const SplineNode& end = object_.Nodes()[static_cast<std::size_t>(patch.edgeEnd[i])];
                const SplineNode& nextStart = object_.Nodes()[static_cast<std::size_t>(
                    patch.edgeStart[(i + 1) % static_cast<std::size_t>(corners)])];
                if (end.controlPoint != nextStart.controlPoint) {
                    Report(label + " edge " + std::to_string(i) + " does not chain");
                }
            }
        }
    }

    const PatchObject& object_;
    std::vector<int> matches_;  // per node: the references on its point that name it
    std::vector<std::string> problems_;
};

}  // namespace

std::vector<std::string> CheckPatchInvariants(const PatchObject& object) {
    return InvariantChecker(object).Run();
}

}  // namespace korvane
