#include "import/rvp_reader.h"

#include <vector>

#include "import/rvp_parser.h"
#include "patch/patch_builder.h"

namespace korvane {
namespace {

// Makes the records of a network whose references the parser has checked.
void BuildObject(const RvpNetwork& network, PatchObject& object) {
    object.name = network.name;
    object.colour = network.colour;
    std::vector<ControlPoint*> points;
    points.reserve(network.points.size());
    for (const RvpNetwork::Point& stored : network.points) {
        ControlPoint* point = object.AddControlPoint();
        point->Set(stored.x, stored.y, stored.z);
        point->pointFlag = stored.flag;
        point->index = static_cast<std::int32_t>(points.size());
        points.push_back(point);
    }
    std::vector<Spline*> splines;
    std::vector<SplineNode*> nodes;
    splines.reserve(network.closed.size());
    nodes.reserve(network.nodes.size());
    for (std::size_t s = 0; s < network.closed.size(); ++s) {
        Spline* spline = object.AddSpline();
        spline->closed = network.closed[s];
        spline->index = static_cast<std::int32_t>(s);
        splines.push_back(spline);
        const std::uint32_t first = network.splineStart[s];
        for (std::uint32_t at = first; at < network.splineStart[s + 1]; ++at) {
            const RvpNetwork::Node& stored = network.nodes[at];
            SplineNode* node = spline->AddNode();
            node->corner = stored.corner;
            node->tension = stored.tension;
            node->controlPoint = points[static_cast<std::size_t>(stored.point)];
            node->index = static_cast<std::int32_t>(at - first);
            nodes.push_back(node);
        }
    }
    for (std::size_t p = 0; p < points.size(); ++p) {
        for (std::uint32_t r = network.refStart[p]; r < network.refStart[p + 1]; ++r) {
            const RvpNetwork::Ref& stored = network.refs[r];
            const auto s = static_cast<std::size_t>(stored.spline);
            SplineRef* ref = points[p]->AddSplineRef();
            ref->spline = splines[s];
            ref->node = nodes[network.splineStart[s] + static_cast<std::size_t>(stored.node)];
        }
    }
    ComputeHandles(object);
}

}  // namespace

RvpReadResult ImportRvpBytes(std::string_view bytes, ObjectSink& sink) {
    RvpReadResult result;
    std::optional<std::vector<RvpNetwork>> networks = ParseRvp(bytes, result.error);
    if (!networks) {
        return result;
    }
    for (RvpNetwork& network : *networks) {
        BuildObject(network, *sink.AddObject());
        ++result.objectsAdded;
        network = RvpNetwork{};  // the records now hold it
    }
    return result;
}

}  // namespace korvane
