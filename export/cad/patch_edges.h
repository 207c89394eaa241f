#pragma once

#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Vertex.hxx>
#include <gp_Pnt.hxx>
#include <gp_Pnt2d.hxx>

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "export/cad/cubic_pieces.h"

namespace korvane {

// The spline segment under one side of a patch, as the faces on it see it.
struct SideSegment {
    std::int32_t segment = 0;     // the node the segment leaves forwards (SegmentOf)
    bool forward = true;          // the patch's side runs the segment's way
    CubicPoles poles;             // in the segment's direction, in the file's axes
    std::int32_t startPoint = 0;  // the control points at the segment's ends
    std::int32_t endPoint = 0;
};

// The vertices and edges that the faces of one object share, each made once, on first use, with
// the tolerance that the faces using it need.
//
// A face's border is a row of its net; an edge's curve is the spline segment (or the half of it, or
// the inner border of a triangle) that the border runs along. Both come from the same floats, but
// a triangle halves its sides in float arithmetic of its own, so a border may differ from the edge
// by rounding. Each use measures that difference from the poles and the edge's tolerance covers
// the largest, so that the shell is valid without any sewing or fixing.
class PatchEdges {
  public:
    // The whole segment, from its start point to its end point.
    std::int32_t SegmentEdge(const SideSegment& side);
    // Half 0 runs from the segment's start point to its midpoint, half 1 from there to its end.
    std::int32_t HalfSegmentEdge(const SideSegment& side, int half);
    // The inner border `border` of triangle patch `patch`: from the midpoint of the segment under
    // side `border` (given as `side`) to the centre, along curve.
    std::int32_t InnerBorderEdge(std::int32_t patch, int border, const SideSegment& side,
                                 const CubicPoles& curve);

    // Puts edge on face: borderPiece is the face's border from where the edge starts to where it
    // ends, and its parameters run straight from `from` to `to` in the face's (u, v).
    void PutOnFace(std::int32_t edge, const TopoDS_Face& face, const CubicPoles& borderPiece,
                   const gp_Pnt2d& from, const gp_Pnt2d& to);

    const TopoDS_Edge& Edge(std::int32_t edge) const {
        return edges_[static_cast<std::size_t>(edge)].shape;
    }
    std::int32_t EdgeCount() const { return static_cast<std::int32_t>(edges_.size()); }

    // Gives every edge the tolerance its faces need, and every vertex that of its edges.
    void SetTolerances();

  private:
    struct VertexEntry {
        TopoDS_Vertex shape;
        gp_Pnt point;
        double tolerance;
    };
    struct EdgeEntry {
        TopoDS_Edge shape;
        CubicPoles curve;
        std::int32_t start;
        std::int32_t end;
        double deviation;  // the largest distance of a face's border from the curve
    };

    std::int32_t Vertex(std::uint64_t key, const gp_Pnt& point);
    std::int32_t MidVertex(const SideSegment& side, const gp_Pnt& midpoint);
    std::int32_t MakeEdge(std::uint64_t key, const CubicPoles& curve, std::int32_t start,
                          std::int32_t end);

    std::vector<VertexEntry> vertices_;
    std::vector<EdgeEntry> edges_;
    std::unordered_map<std::uint64_t, std::int32_t> vertexKeys_;
    std::unordered_map<std::uint64_t, std::int32_t> edgeKeys_;
};

}  // namespace korvane
