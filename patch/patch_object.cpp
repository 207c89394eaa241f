#include "patch/patch_object.h"

#include "geometry/huge_pages.h"

namespace korvane {

std::int32_t PatchObject::AddControlPoint(const PatchVec3& position) {
    points.push_back(position);
    refStart.push_back(refStart.back());
    return PointCount() - 1;
}

std::int32_t PatchObject::AddSpline(std::span<const std::int32_t> pointIndices, bool closed) {
    for (std::int32_t point : pointIndices) {
        SplineNode& node = nodes.emplace_back();
        node.controlPoint = point;
    }
    splineStart.push_back(NodeCount());
    splineClosed.push_back(closed);
    return SplineCount() - 1;
}

void PatchObject::IndexReferences() {
    std::vector<std::int32_t> start(points.size() + 1, 0);
    for (const SplineNode& node : nodes) {
        ++start[static_cast<std::size_t>(node.controlPoint) + 1];
    }
    for (std::size_t p = 1; p < start.size(); ++p) {
        start[p] += start[p - 1];
    }
    refs.clear();
    refs.reserve(nodes.size());
    AdviseHugePages(refs);
    refs.resize(nodes.size());
    std::vector<std::int32_t> fill(start.begin(), start.end() - 1);
    for (std::int32_t spline = 0; spline < SplineCount(); ++spline) {
        const auto s = static_cast<std::size_t>(spline);
        for (std::int32_t node = splineStart[s]; node < splineStart[s + 1]; ++node) {
            const auto point =
                static_cast<std::size_t>(nodes[static_cast<std::size_t>(node)].controlPoint);
            refs[static_cast<std::size_t>(fill[point]++)] = {spline, node};
        }
    }
    refStart = std::move(start);
}

void PatchObject::DeletePatches() {
    patches.clear();
    patchesValid = false;
}

}  // namespace korvane
