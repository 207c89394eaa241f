#include "patch/patch_object.h"

#include "geometry/huge_pages.h"

namespace korvane {

std::int32_t PatchObject::AddControlPoint(const PatchVec3& position) {
    points_.push_back(position);
    refStart_.push_back(refStart_.back());
    return PointCount() - 1;
}

std::int32_t PatchObject::AddSpline(std::span<const std::int32_t> pointIndices, bool closed) {
    for (std::int32_t point : pointIndices) {
        SplineNode& node = nodes_.emplace_back();
        node.controlPoint = point;
    }
    splineStart_.push_back(NodeCount());
    splineClosed_.push_back(closed);
    return SplineCount() - 1;
}

void PatchObject::IndexReferences() {
    std::vector<std::int32_t> start(points_.size() + 1, 0);
    for (const SplineNode& node : nodes_) {
        ++start[static_cast<std::size_t>(node.controlPoint) + 1];
    }
    for (std::size_t p = 1; p < start.size(); ++p) {
        start[p] += start[p - 1];
    }
    refs_.clear();
    refs_.reserve(nodes_.size());
    AdviseHugePages(refs_);
    refs_.resize(nodes_.size());
    std::vector<std::int32_t> fill(start.begin(), start.end() - 1);
    for (std::int32_t spline = 0; spline < SplineCount(); ++spline) {
        const auto s = static_cast<std::size_t>(spline);
        for (std::int32_t node = splineStart_[s]; node < splineStart_[s + 1]; ++node) {
            const auto point =
                static_cast<std::size_t>(nodes_[static_cast<std::size_t>(node)].controlPoint);
            refs_[static_cast<std::size_t>(fill[point]++)] = {spline, node};
        }
    }
    refStart_ = std::move(start);
}

void PatchObject::DeletePatches() {
    patches_.clear();
    patchesValid_ = false;
}

}  // namespace korvane
