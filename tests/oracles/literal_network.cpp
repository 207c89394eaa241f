#include "oracles/literal_network.h"

#include <unordered_map>

namespace korvane::testing {
namespace {

NetworkShape::Node NodeShape(std::int32_t point, const PatchVec3& in, const PatchVec3& out,
                             float tension, bool corner) {
    return {point, {in.x, in.y, in.z, out.x, out.y, out.z}, tension, corner};
}

}  // namespace

LiteralNetwork::LiteralNetwork(const PatchObject& object)
    : points(object.Points()), refs(object.Points().size()) {
    std::vector<LiteralSpline*> splineAt;
    std::vector<LiteralNode*> nodeAt(object.Nodes().size());
    for (std::int32_t s = 0; s < object.SplineCount(); ++s) {
        LiteralSpline& spline = splines.emplace_back();
        spline.closed = object.Closed(s);
        splineAt.push_back(&spline);
        for (std::int32_t n = object.SplineStarts()[static_cast<std::size_t>(s)];
             n < object.SplineStarts()[static_cast<std::size_t>(s) + 1]; ++n) {
            const SplineNode& from = object.Nodes()[static_cast<std::size_t>(n)];
            nodeAt[static_cast<std::size_t>(n)] = &spline.nodes.emplace_back(LiteralNode{
                from.controlPoint, from.handleIn, from.handleOut, from.tension, from.corner});
        }
    }
    for (std::size_t p = 0; p < points.size(); ++p) {
        for (std::int32_t r = object.RefStarts()[p]; r < object.RefStarts()[p + 1]; ++r) {
            const SplineRef& ref = object.Refs()[static_cast<std::size_t>(r)];
            refs[p].push_back({splineAt.at(static_cast<std::size_t>(ref.spline)),
                               nodeAt.at(static_cast<std::size_t>(ref.node))});
        }
    }
}

NetworkShape ShapeOf(const LiteralNetwork& network) {
    std::unordered_map<const LiteralSpline*, int> splineIndex;
    std::unordered_map<const LiteralNode*, int> nodeIndex;
    NetworkShape shape;
    for (const LiteralSpline& spline : network.splines) {
        splineIndex.emplace(&spline, static_cast<int>(splineIndex.size()));
        std::vector<NetworkShape::Node> nodes;
        for (const LiteralNode& node : spline.nodes) {
            nodeIndex.emplace(&node, static_cast<int>(nodes.size()));
            nodes.push_back(
                NodeShape(node.point, node.handleIn, node.handleOut, node.tension, node.corner));
        }
        shape.splines.emplace_back(spline.closed, std::move(nodes));
    }
    for (const auto& pointRefs : network.refs) {
        std::vector<std::pair<int, int>> refs;
        for (const LiteralRef& ref : pointRefs) {
            refs.emplace_back(splineIndex.at(ref.spline), nodeIndex.at(ref.node));
        }
        shape.references.push_back(std::move(refs));
    }
    return shape;
}

NetworkShape ShapeOf(const PatchObject& object) {
    NetworkShape shape;
    for (std::int32_t s = 0; s < object.SplineCount(); ++s) {
        std::vector<NetworkShape::Node> nodes;
        for (const SplineNode& node : object.SplineNodes(s)) {
            nodes.push_back(NodeShape(node.controlPoint, node.handleIn, node.handleOut,
                                      node.tension, node.corner));
        }
        shape.splines.emplace_back(object.Closed(s), std::move(nodes));
    }
    for (std::int32_t p = 0; p < object.PointCount(); ++p) {
        std::vector<std::pair<int, int>> refs;
        for (const SplineRef& ref : object.RefsOf(p)) {
            refs.emplace_back(
                ref.spline, ref.node - object.SplineStarts()[static_cast<std::size_t>(ref.spline)]);
        }
        shape.references.push_back(std::move(refs));
    }
    return shape;
}

std::vector<PatchShape> PatchShapesOf(const PatchObject& object) {
    std::vector<PatchShape> shapes;
    for (const Patch& patch : object.Patches()) {
        PatchShape& shape = shapes.emplace_back(PatchShape{patch.cornerCount, {}});
        for (int i = 0; i < patch.cornerCount; ++i) {
            const auto e = static_cast<std::size_t>(i);
            const std::int32_t first =
                object.SplineStarts()[static_cast<std::size_t>(patch.spline[e])];
            shape.edges[e] = {patch.spline[e], patch.edgeStart[e] - first, patch.edgeEnd[e] - first,
                              patch.forward[e]};
        }
    }
    return shapes;
}

}  // namespace korvane::testing
