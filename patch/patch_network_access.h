#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "patch/patch_object.h"

namespace korvane {

// Write access to a network's arrays, for the code that builds or changes a network: the builder,
// the connector, the handles, the patch search and the .rvp reader. Whoever writes through it
// leaves the arrays consistent with each other, and clears PatchesValid when the splines change
// under the patches.
class PatchNetworkAccess {
  public:
    static std::vector<PatchVec3>& Points(PatchObject& object) { return object.points_; }
    static std::vector<SplineNode>& Nodes(PatchObject& object) { return object.nodes_; }
    static std::vector<std::int32_t>& SplineStarts(PatchObject& object) {
        return object.splineStart_;
    }
    static std::vector<bool>& SplineClosedFlags(PatchObject& object) {
        return object.splineClosed_;
    }
    static std::vector<std::int32_t>& RefStarts(PatchObject& object) { return object.refStart_; }
    static std::vector<SplineRef>& Refs(PatchObject& object) { return object.refs_; }
    static std::vector<Patch>& Patches(PatchObject& object) { return object.patches_; }
    static void SetPatchesValid(PatchObject& object, bool valid) { object.patchesValid_ = valid; }

    static std::span<SplineNode> SplineNodes(PatchObject& object, std::int32_t spline) {
        const auto s = static_cast<std::size_t>(spline);
        return {object.nodes_.data() + object.splineStart_[s],
                object.nodes_.data() + object.splineStart_[s + 1]};
    }
};

}  // namespace korvane
