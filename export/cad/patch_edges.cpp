#include "export/cad/patch_edges.h"

#include <BRep_Builder.hxx>
#include <Geom2d_BezierCurve.hxx>
#include <Geom_BezierCurve.hxx>
#include <Precision.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TColgp_Array1OfPnt2d.hxx>

#include <algorithm>

namespace korvane {
namespace {

// What each key names, in its top bits; the rest is an index.
enum KeyKind : std::uint64_t {
    kPointKey,
    kMidpointKey,
    kCentreKey,
    kSegmentKey,
    kHalfKey,
    kInnerKey
};

std::uint64_t Key(KeyKind kind, std::uint64_t index) {
    return static_cast<std::uint64_t>(kind) << 56 | index;
}

std::uint64_t Index(std::int32_t value) {
    return static_cast<std::uint32_t>(value);
}

// Every tolerance starts from OpenCASCADE's own; the rounding measured comes on top of it.
const double kBaseTolerance = Precision::Confusion();

}  // namespace

std::int32_t PatchEdges::Vertex(std::uint64_t key, const gp_Pnt& point) {
    const auto [found, added] =
        vertexKeys_.try_emplace(key, static_cast<std::int32_t>(vertices_.size()));
    if (added) {
        TopoDS_Vertex vertex;
        BRep_Builder().MakeVertex(vertex, point, kBaseTolerance);
        vertices_.push_back({vertex, point, kBaseTolerance});
    }
    return found->second;
}

std::int32_t PatchEdges::MidVertex(const SideSegment& side, const gp_Pnt& midpoint) {
    return Vertex(Key(kMidpointKey, Index(side.segment)), midpoint);
}

std::int32_t PatchEdges::MakeEdge(std::uint64_t key, const CubicPoles& curve, std::int32_t start,
                                  std::int32_t end) {
    TColgp_Array1OfPnt poles(1, 4);
    for (int i = 0; i < 4; ++i) {
        poles(i + 1) = curve[static_cast<std::size_t>(i)];
    }
    BRep_Builder builder;
    TopoDS_Edge edge;
    builder.MakeEdge(edge, new Geom_BezierCurve(poles), kBaseTolerance);
    builder.Add(edge, vertices_[static_cast<std::size_t>(start)].shape.Oriented(TopAbs_FORWARD));
    builder.Add(edge, vertices_[static_cast<std::size_t>(end)].shape.Oriented(TopAbs_REVERSED));
    const auto index = static_cast<std::int32_t>(edges_.size());
    edges_.push_back({edge, curve, start, end, 0.0});
    edgeKeys_.emplace(key, index);
    return index;
}

std::int32_t PatchEdges::SegmentEdge(const SideSegment& side) {
    const std::uint64_t key = Key(kSegmentKey, Index(side.segment));
    if (const auto found = edgeKeys_.find(key); found != edgeKeys_.end()) {
        return found->second;
    }
    const std::int32_t start = Vertex(Key(kPointKey, Index(side.startPoint)), side.poles[0]);
    const std::int32_t end = Vertex(Key(kPointKey, Index(side.endPoint)), side.poles[3]);
    return MakeEdge(key, side.poles, start, end);
}

std::int32_t PatchEdges::HalfSegmentEdge(const SideSegment& side, int half) {
    const std::uint64_t key = Key(kHalfKey, Index(side.segment) << 1 | (half != 0 ? 1u : 0u));
    if (const auto found = edgeKeys_.find(key); found != edgeKeys_.end()) {
        return found->second;
    }
    const CubicPoles curve = CubicPiece(side.poles, 0.5 * half, 0.5 * (half + 1));
    const std::int32_t start = half == 0 ? Vertex(Key(kPointKey, Index(side.startPoint)), curve[0])
                                         : MidVertex(side, curve[0]);
    const std::int32_t end = half == 0 ? MidVertex(side, curve[3])
                                       : Vertex(Key(kPointKey, Index(side.endPoint)), curve[3]);
    return MakeEdge(key, curve, start, end);
}

std::int32_t PatchEdges::InnerBorderEdge(std::int32_t patch, int border, const SideSegment& side,
                                         const CubicPoles& curve) {
    const std::uint64_t key = Key(kInnerKey, Index(patch) * 3 + static_cast<std::uint64_t>(border));
    if (const auto found = edgeKeys_.find(key); found != edgeKeys_.end()) {
        return found->second;
    }
    const CubicPoles half = CubicPiece(side.poles, 0.0, 0.5);
    const std::int32_t start = MidVertex(side, half[3]);
    const std::int32_t end = Vertex(Key(kCentreKey, Index(patch)), curve[3]);
    return MakeEdge(key, curve, start, end);
}

void PatchEdges::PutOnFace(std::int32_t edge, const TopoDS_Face& face,
                           const CubicPoles& borderPiece, const gp_Pnt2d& from,
                           const gp_Pnt2d& to) {
    EdgeEntry& entry = edges_[static_cast<std::size_t>(edge)];
    entry.deviation = std::max(entry.deviation, MaxPoleDistance(entry.curve, borderPiece));
    TColgp_Array1OfPnt2d line(1, 2);
    line(1) = from;
    line(2) = to;
    BRep_Builder().UpdateEdge(entry.shape, new Geom2d_BezierCurve(line), face, kBaseTolerance);
}

void PatchEdges::SetTolerances() {
    BRep_Builder builder;
    for (EdgeEntry& edge : edges_) {
        const double tolerance = kBaseTolerance + edge.deviation;
        builder.UpdateEdge(edge.shape, tolerance);
        // A vertex holds the ends of its edges' curves and of the borders along them.
        VertexEntry& start = vertices_[static_cast<std::size_t>(edge.start)];
        VertexEntry& end = vertices_[static_cast<std::size_t>(edge.end)];
        start.tolerance =
            std::max(start.tolerance, tolerance + start.point.Distance(edge.curve[0]));
        end.tolerance = std::max(end.tolerance, tolerance + end.point.Distance(edge.curve[3]));
    }
    for (VertexEntry& vertex : vertices_) {
        builder.UpdateVertex(vertex.shape, vertex.tolerance);
    }
}

}  // namespace korvane
