#include "import/rvp_links.h"

#include <cstddef>
#include <vector>

namespace korvane {
namespace {

std::string Text(std::size_t number) {
    return std::to_string(number);
}

std::string CheckSplines(const RvpNetwork& network) {
    const std::size_t pointCount = network.points.size();
    for (std::size_t s = 0; s + 1 < network.splineStart.size(); ++s) {
        const std::size_t first = network.splineStart[s];
        const std::size_t end = network.splineStart[s + 1];
        if (end - first < 2) {
            return "spline " + Text(s) + " has fewer than two nodes";
        }
        for (std::size_t at = first; at < end; ++at) {
            const std::int32_t point = network.nodes[at].point;
            if (point < 0 || static_cast<std::size_t>(point) >= pointCount) {
                return "node " + Text(at - first) + " of spline " + Text(s) +
                       " names control point " + std::to_string(point) + " of " + Text(pointCount);
            }
        }
        if (network.closed[s] != 0 && network.nodes[first].point == network.nodes[end - 1].point) {
            return "spline " + Text(s) + " is closed and repeats its head at its tail";
        }
    }
    return {};
}

std::string CheckReferences(const RvpNetwork& network) {
    const std::size_t splineCount = network.closed.size();
    std::vector<char> referred(network.nodes.size(), 0);
    for (std::size_t p = 0; p < network.points.size(); ++p) {
        for (std::size_t r = network.refStart[p]; r < network.refStart[p + 1]; ++r) {
            const RvpNetwork::Ref& ref = network.refs[r];
            const std::string from = "control point " + Text(p);
            if (ref.spline < 0 || static_cast<std::size_t>(ref.spline) >= splineCount) {
                return from + " refers to spline " + std::to_string(ref.spline) + " of " +
                       Text(splineCount);
            }
            const auto s = static_cast<std::size_t>(ref.spline);
            const std::size_t first = network.splineStart[s];
            const std::size_t nodeCount = network.splineStart[s + 1] - first;
            const std::string node = "node " + std::to_string(ref.node) + " of spline " + Text(s);
            if (ref.node < 0 || static_cast<std::size_t>(ref.node) >= nodeCount) {
                return from + " refers to " + node + ", which has " + Text(nodeCount) + " nodes";
            }
            const std::size_t at = first + static_cast<std::size_t>(ref.node);
            if (static_cast<std::size_t>(network.nodes[at].point) != p) {
                return from + " refers to " + node + ", which sits on control point " +
                       std::to_string(network.nodes[at].point);
            }
            if (referred[at] != 0) {
                return node + " is referred to twice";
            }
            referred[at] = 1;
        }
    }
    for (std::size_t s = 0; s < splineCount; ++s) {
        for (std::size_t at = network.splineStart[s]; at < network.splineStart[s + 1]; ++at) {
            if (referred[at] == 0) {
                return "node " + Text(at - network.splineStart[s]) + " of spline " + Text(s) +
                       " is referred to by no control point";
            }
        }
    }
    return {};
}

}  // namespace

std::string FindBrokenLink(const RvpNetwork& network) {
    std::string broken = CheckSplines(network);
    return broken.empty() ? CheckReferences(network) : broken;
}

}  // namespace korvane
