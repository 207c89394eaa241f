#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "geometry/vec3.h"

// The spline-patch network of one object, as flat arrays, one per relation. Everything refers to
// everything else by index: a control point is its index in `Points()`, a spline its index in the
// spline arrays, and a node its index in `Nodes()` (not its place within its spline). The orders
// are part of the model: points in creation order, each point's references in the order they were
// made, nodes head to tail, splines in creation order, patches in discovery order.
//
// Readers see the arrays as const views. Only the code that builds or changes a network writes
// them, through PatchNetworkAccess (patch/patch_network_access.h), and leaves them consistent.

namespace korvane {

// Which of a node's two handles: towards the previous node or towards the next.
enum class HandleDirection { kIn, kOut };

struct SplineNode {
    PatchVec3& Handle(HandleDirection direction) {
        return direction == HandleDirection::kIn ? handleIn : handleOut;
    }
    const PatchVec3& Handle(HandleDirection direction) const {
        return direction == HandleDirection::kIn ? handleIn : handleOut;
    }

    PatchVec3 handleIn;             // absolute position of the handle towards the previous node
    PatchVec3 handleOut;            // absolute position of the handle towards the next node
    std::int32_t controlPoint = 0;  // the point the node sits on
    float tension = 0.3f;
    bool corner = false;  // straight handles; nothing here sets it, read files may
};

// One node sitting on a control point.
struct SplineRef {
    std::int32_t spline = 0;
    std::int32_t node = 0;
};

// A three- or four-sided patch; the fourth slots of a triangle stay zero.
struct Patch {
    std::int32_t cornerCount = 0;
    std::array<std::int32_t, 4> edgeStart{};  // edge i runs from node edgeStart[i] ...
    std::array<std::int32_t, 4> edgeEnd{};    // ... to its neighbour edgeEnd[i] along spline[i]
    std::array<std::int32_t, 4> spline{};
    std::array<bool, 4> forward{};  // edgeEnd[i] follows edgeStart[i] in spline[i]
};

class PatchObject {
  public:
    const std::vector<PatchVec3>& Points() const { return points_; }
    const std::vector<SplineNode>& Nodes() const { return nodes_; }
    const std::vector<std::int32_t>& SplineStarts() const { return splineStart_; }
    const std::vector<bool>& SplineClosedFlags() const { return splineClosed_; }
    const std::vector<std::int32_t>& RefStarts() const { return refStart_; }
    const std::vector<SplineRef>& Refs() const { return refs_; }
    const std::vector<Patch>& Patches() const { return patches_; }
    // The patches match the current splines.
    bool PatchesValid() const { return patchesValid_; }

    std::int32_t PointCount() const { return static_cast<std::int32_t>(points_.size()); }
    std::int32_t SplineCount() const { return static_cast<std::int32_t>(splineClosed_.size()); }
    std::int32_t NodeCount() const { return static_cast<std::int32_t>(nodes_.size()); }
    std::int32_t RefCount() const { return static_cast<std::int32_t>(refs_.size()); }

    std::int32_t SplineNodeCount(std::int32_t spline) const {
        return splineStart_[static_cast<std::size_t>(spline) + 1] -
               splineStart_[static_cast<std::size_t>(spline)];
    }
    bool Closed(std::int32_t spline) const {
        return splineClosed_[static_cast<std::size_t>(spline)];
    }
    std::span<const SplineNode> SplineNodes(std::int32_t spline) const {
        const auto s = static_cast<std::size_t>(spline);
        return {nodes_.data() + splineStart_[s], nodes_.data() + splineStart_[s + 1]};
    }
    std::span<const SplineRef> RefsOf(std::int32_t point) const {
        const auto p = static_cast<std::size_t>(point);
        return {refs_.data() + refStart_[p], refs_.data() + refStart_[p + 1]};
    }
    const PatchVec3& PointOf(const SplineNode& node) const {
        return points_[static_cast<std::size_t>(node.controlPoint)];
    }

    // The node after (before) `node` in `spline`, wrapping round on a closed spline; -1 past the
    // tail (before the head) of an open one.
    std::int32_t Successor(std::int32_t spline, std::int32_t node) const {
        const auto s = static_cast<std::size_t>(spline);
        if (node + 1 < splineStart_[s + 1]) {
            return node + 1;
        }
        return splineClosed_[s] ? splineStart_[s] : -1;
    }
    std::int32_t Predecessor(std::int32_t spline, std::int32_t node) const {
        const auto s = static_cast<std::size_t>(spline);
        if (node > splineStart_[s]) {
            return node - 1;
        }
        return splineClosed_[s] ? splineStart_[s + 1] - 1 : -1;
    }

    // A new point without references.
    std::int32_t AddControlPoint(const PatchVec3& position);
    // A new spline through the given points, its nodes at their defaults. The references to the
    // new nodes come with IndexReferences.
    std::int32_t AddSpline(std::span<const std::int32_t> pointIndices, bool closed = false);
    // Rebuilds every point's references from the nodes: one per node, in node order.
    void IndexReferences();

    void DeletePatches();

    std::string name;                 // bytes as read from the model file, in its code page
    std::uint32_t colour = 0xFFFFFF;  // 0x00BBGGRR

  private:
    friend class PatchNetworkAccess;

    bool patchesValid_ = false;

    std::vector<PatchVec3> points_;             // control point positions, creation order
    std::vector<SplineNode> nodes_;             // every spline's nodes, spline after spline
    std::vector<std::int32_t> splineStart_{0};  // spline s owns nodes [start[s], start[s + 1])
    std::vector<bool> splineClosed_;            // per spline: the tail joins back to the head
    std::vector<std::int32_t> refStart_{0};     // point p owns refs [refStart[p], refStart[p + 1])
    std::vector<SplineRef> refs_;               // every point's references, point after point
    std::vector<Patch> patches_;                // derived by DetectPatches, discovery order
};

}  // namespace korvane
