#include "import/rvp_links.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "patch/patch_network_access.h"

namespace korvane {
namespace {

std::string Text(std::size_t number) {
    return std::to_string(number);
}

std::string CheckSplines(const PatchObject& object) {
    const std::size_t pointCount = object.Points().size();
    for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
        const auto s = static_cast<std::size_t>(spline);
        const std::span<const SplineNode> nodes = object.SplineNodes(spline);
        if (nodes.size() < 2) {
            return "spline " + Text(s) + " has fewer than two nodes";
        }
        for (std::size_t k = 0; k < nodes.size(); ++k) {
            const std::int32_t point = nodes[k].controlPoint;
            if (point < 0 || static_cast<std::size_t>(point) >= pointCount) {
                return "node " + Text(k) + " of spline " + Text(s) + " names control point " +
                       std::to_string(point) + " of " + Text(pointCount);
            }
        }
        if (object.Closed(spline) && nodes.front().controlPoint == nodes.back().controlPoint) {
            return "spline " + Text(s) + " is closed and repeats its head at its tail";
        }
    }
    return {};
}

std::string CheckAndResolveReferences(PatchObject& object) {
    const auto splineCount = static_cast<std::size_t>(object.SplineCount());
    std::vector<char> referred(object.Nodes().size(), 0);
    std::vector<SplineRef>& refs = PatchNetworkAccess::Refs(object);
    for (std::int32_t point = 0; point < object.PointCount(); ++point) {
        const auto p = static_cast<std::size_t>(point);
        for (auto r = static_cast<std::size_t>(object.RefStarts()[p]);
             r < static_cast<std::size_t>(object.RefStarts()[p + 1]); ++r) {
            SplineRef& ref = refs[r];
            const std::string from = "control point " + Text(p);
            if (ref.spline < 0 || static_cast<std::size_t>(ref.spline) >= splineCount) {
                return from + " refers to spline " + std::to_string(ref.spline) + " of " +
                       Text(splineCount);
            }
            const auto s = static_cast<std::size_t>(ref.spline);
            const auto nodeCount = static_cast<std::size_t>(object.SplineNodeCount(ref.spline));
            const std::string node = "node " + std::to_string(ref.node) + " of spline " + Text(s);
            if (ref.node < 0 || static_cast<std::size_t>(ref.node) >= nodeCount) {
                return from + " refers to " + node + ", which has " + Text(nodeCount) + " nodes";
            }
            const std::int32_t at = object.SplineStarts()[s] + ref.node;
            const std::int32_t sitsOn = object.Nodes()[static_cast<std::size_t>(at)].controlPoint;
            if (sitsOn != point) {
                return from + " refers to " + node + ", which sits on control point " +
                       std::to_string(sitsOn);
            }
            if (referred[static_cast<std::size_t>(at)] != 0) {
                return node + " is referred to twice";
            }
            referred[static_cast<std::size_t>(at)] = 1;
            ref.node = at;
        }
    }
    for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
        const auto s = static_cast<std::size_t>(spline);
        for (std::int32_t at = object.SplineStarts()[s]; at < object.SplineStarts()[s + 1]; ++at) {
            if (referred[static_cast<std::size_t>(at)] == 0) {
                return "node " + Text(static_cast<std::size_t>(at - object.SplineStarts()[s])) +
                       " of spline " + Text(s) + " is referred to by no control point";
            }
        }
    }
    return {};
}

}  // namespace

std::string LinkReferences(PatchObject& object) {
    std::string broken = CheckSplines(object);
    return broken.empty() ? CheckAndResolveReferences(object) : broken;
}

}  // namespace korvane
