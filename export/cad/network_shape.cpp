#include "export/cad/network_shape.h"

#include <BRep_Builder.hxx>
#include <Geom_BezierSurface.hxx>
#include <Precision.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Solid.hxx>
#include <TopoDS_Wire.hxx>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "export/cad/patch_edges.h"
#include "export/cad/smooth_piece_surface.h"
#include "patch/bezier_net.h"
#include "patch/curve_fields.h"
#include "patch/patch_facing.h"
#include "patch/smooth_patches.h"
#include "patch/surface_sampling.h"

namespace korvane {
namespace {

// Z reversed, as the surface-mesh export writes it: the axes of other programs.
gp_Pnt FilePoint(const PatchVec3& p) {
    return gp_Pnt(p.x, p.y, -static_cast<double>(p.z));
}

bool IsFinite(const BezierNet& net) {
    for (const float value : net.values) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

// Two corners at one place collapse a side (or fold the patch onto itself): no valid face.
bool HasRepeatedCorner(const PatchObject& object, const Patch& patch) {
    for (int i = 0; i < patch.cornerCount; ++i) {
        for (int k = i + 1; k < patch.cornerCount; ++k) {
            const PatchVec3& a =
                object.Points()[static_cast<std::size_t>(CornerPoint(object, patch, i))];
            const PatchVec3& b =
                object.Points()[static_cast<std::size_t>(CornerPoint(object, patch, k))];
            if (a.x == b.x && a.y == b.y && a.z == b.z) {
                return true;
            }
        }
    }
    return false;
}

SideSegment SegmentUnder(const PatchObject& object, const Patch& patch, int side) {
    const auto s = static_cast<std::size_t>(side);
    SideSegment segment;
    segment.segment = SegmentOf(patch, side);
    segment.forward = patch.forward[s];
    const SplineNode& first = object.Nodes()[static_cast<std::size_t>(
        segment.forward ? patch.edgeStart[s] : patch.edgeEnd[s])];
    const SplineNode& last = object.Nodes()[static_cast<std::size_t>(
        segment.forward ? patch.edgeEnd[s] : patch.edgeStart[s])];
    segment.poles = {FilePoint(object.PointOf(first)), FilePoint(first.handleOut),
                     FilePoint(last.handleIn), FilePoint(object.PointOf(last))};
    segment.startPoint = first.controlPoint;
    segment.endPoint = last.controlPoint;
    return segment;
}

// A net's four borders, counter-clockwise about its (u, v) square: v = 0 forwards, u = 1
// forwards, v = 1 backwards, u = 0 backwards. The border parameter runs from 0 to 1 that way.
CubicPoles Border(const BezierNet& net, int border) {
    CubicPoles poles;
    for (int i = 0; i < 4; ++i) {
        const int u = border == 0 ? i : border == 1 ? 3 : border == 2 ? 3 - i : 0;
        const int v = border == 0 ? 0 : border == 1 ? i : border == 2 ? 3 : 3 - i;
        poles[static_cast<std::size_t>(i)] = FilePoint(net.Point(u, v));
    }
    return poles;
}

gp_Pnt2d BorderUv(int border, double t) {
    switch (border) {
        case 0:
            return gp_Pnt2d(t, 0.0);
        case 1:
            return gp_Pnt2d(1.0, t);
        case 2:
            return gp_Pnt2d(1.0 - t, 1.0);
        default:
            return gp_Pnt2d(0.0, 1.0 - t);
    }
}

// Where half `half` of a segment starts and ends on the patch side above it, the side's own
// parameter running from 0 to 1 in the side's direction.
std::array<double, 2> HalfOnSide(const SideSegment& side, int half) {
    const double start = 0.5 * half;
    const double end = 0.5 * (half + 1);
    return side.forward ? std::array{start, end} : std::array{1.0 - start, 1.0 - end};
}

// The half of the segment that covers piece `piece` (0 first, 1 second) of the side.
int HalfUnderPiece(const SideSegment& side, int piece) {
    return side.forward ? piece : 1 - piece;
}

Handle(Geom_Surface) BezierSurface(const BezierNet& net) {
    TColgp_Array2OfPnt poles(1, 4, 1, 4);
    for (int u = 0; u < 4; ++u) {
        for (int v = 0; v < 4; ++v) {
            poles(u + 1, v + 1) = FilePoint(net.Point(u, v));
        }
    }
    return new Geom_BezierSurface(poles);
}

// The surfaces of a patch's faces, from its nets or its smooth pieces (whose borders then replace
// the nets', so that the edges follow them). Nothing where one cannot be made.
class PatchSurfaces {
  public:
    PatchSurfaces(const PatchObject& object, bool smooth) : object_(object) {
        if (smooth) {
            fields_ = ComputeCurveFields(object);
        }
    }

    // The surfaces of the count nets of patch (from SurfaceNets); false where one could not be
    // made.
    bool Make(const Patch& patch, int count, std::array<BezierNet, 3>& nets,
              std::array<Handle(Geom_Surface), 3>& surfaces) const {
        if (!fields_) {
            for (int k = 0; k < count; ++k) {
                surfaces[static_cast<std::size_t>(k)] =
                    BezierSurface(nets[static_cast<std::size_t>(k)]);
            }
            return true;
        }
        std::array<GregoryPatch, 3> pieces;
        SmoothPieces(object_, *fields_, patch, pieces);
        for (std::size_t k = 0; k < static_cast<std::size_t>(count); ++k) {
            const SmoothPieceSurface made = BuildSmoothPieceSurface(pieces[k]);
            if (made.surface.IsNull()) {
                return false;
            }
            surfaces[k] = made.surface;
            for (int b = 0; b < 12; ++b) {
                const auto [u, v] = GregoryBorderCell(b);
                nets[k].SetPoint(u, v, pieces[k].border[static_cast<std::size_t>(b)]);
            }
        }
        return true;
    }

  private:
    const PatchObject& object_;
    std::optional<CurveFields> fields_;
};

class ShapeBuilder {
  public:
    explicit ShapeBuilder(const PatchObject& object) : object_(object) {}

    // Segments that a triangle cuts at their midpoints, before any face is made.
    void MarkCutSegments(const Patch& patch) {
        for (int side = 0; side < 3; ++side) {
            cut_.push_back(SegmentOf(patch, side));
        }
    }
    void SortCutSegments() { std::sort(cut_.begin(), cut_.end()); }

    // net gives the face's borders, surface the face itself.
    void AddQuad(std::int32_t patchIndex, const BezierNet& net,
                 const Handle(Geom_Surface) & surface, bool turned) {
        const Patch& patch = object_.Patches()[static_cast<std::size_t>(patchIndex)];
        Face face(surface);
        for (int side = 0; side < 4; ++side) {
            const SideSegment segment = SegmentUnder(object_, patch, side);
            const CubicPoles border = Border(net, side);
            if (!IsCut(segment.segment)) {
                const double from = segment.forward ? 0.0 : 1.0;
                Place(face, edges_.SegmentEdge(segment), border, side, from, 1.0 - from);
                continue;
            }
            for (int piece = 0; piece < 2; ++piece) {
                const int half = HalfUnderPiece(segment, piece);
                const auto [from, to] = HalfOnSide(segment, half);
                Place(face, edges_.HalfSegmentEdge(segment, half), border, side, from, to);
            }
        }
        Finish(face, patchIndex, turned);
    }

    // Net k covers corner k: its border v = 0 is the first half of side k, u = 1 the inner border
    // from side k's midpoint to the centre, v = 1 (backwards) the inner border of side k - 1 from
    // the centre out, u = 0 (backwards) the second half of side k - 1.
    void AddTriangle(std::int32_t patchIndex, const std::array<BezierNet, 3>& nets,
                     const std::array<Handle(Geom_Surface), 3>& surfaces, bool turned) {
        const Patch& patch = object_.Patches()[static_cast<std::size_t>(patchIndex)];
        std::array<SideSegment, 3> sides;
        std::array<CubicPoles, 3> inner;
        for (int k = 0; k < 3; ++k) {
            sides[static_cast<std::size_t>(k)] = SegmentUnder(object_, patch, k);
            inner[static_cast<std::size_t>(k)] = Border(nets[static_cast<std::size_t>(k)], 1);
        }
        for (int k = 0; k < 3; ++k) {
            const int p = (k + 2) % 3;
            const BezierNet& net = nets[static_cast<std::size_t>(k)];
            const SideSegment& own = sides[static_cast<std::size_t>(k)];
            const SideSegment& arriving = sides[static_cast<std::size_t>(p)];
            Face face(surfaces[static_cast<std::size_t>(k)]);

            const int firstHalf = HalfUnderPiece(own, 0);
            const auto [ownFrom, ownTo] = HalfOnSide(own, firstHalf);
            Place(face, edges_.HalfSegmentEdge(own, firstHalf), Border(net, 0), 0, 2.0 * ownFrom,
                  2.0 * ownTo);

            Place(face,
                  edges_.InnerBorderEdge(patchIndex, k, own, inner[static_cast<std::size_t>(k)]),
                  Border(net, 1), 1, 0.0, 1.0);
            Place(
                face,
                edges_.InnerBorderEdge(patchIndex, p, arriving, inner[static_cast<std::size_t>(p)]),
                Border(net, 2), 2, 1.0, 0.0);

            const int secondHalf = HalfUnderPiece(arriving, 1);
            const auto [arrivingFrom, arrivingTo] = HalfOnSide(arriving, secondHalf);
            Place(face, edges_.HalfSegmentEdge(arriving, secondHalf), Border(net, 3), 3,
                  2.0 * arrivingFrom - 1.0, 2.0 * arrivingTo - 1.0);
            Finish(face, patchIndex, turned);
        }
    }

    // The shells of the pieces, each a solid where it is closed. Patches join into one piece across
    // edges between exactly two faces: where three or more faces meet, each side is a shell of its
    // own, so that every shell is a manifold that readers take as it is.
    TopoDS_Shape Result() {
        edges_.SetTolerances();
        std::vector<std::int32_t> faceCount(static_cast<std::size_t>(edges_.EdgeCount()), 0);
        for (const EdgeUse& use : uses_) {
            ++faceCount[static_cast<std::size_t>(use.edge)];
        }
        std::vector<std::int32_t> firstUser(faceCount.size(), -1);
        for (const EdgeUse& use : uses_) {
            std::int32_t& first = firstUser[static_cast<std::size_t>(use.edge)];
            if (faceCount[static_cast<std::size_t>(use.edge)] != 2) {
                continue;
            }
            if (first < 0) {
                first = use.user;
            } else {
                Join(first, use.user);
            }
        }
        std::vector<bool> open(parent_.size(), false);
        for (const EdgeUse& use : uses_) {
            if (faceCount[static_cast<std::size_t>(use.edge)] != 2) {
                open[static_cast<std::size_t>(Root(use.user))] = true;
            }
        }
        BRep_Builder builder;
        std::vector<std::int32_t> shellOf(parent_.size(), -1);
        std::vector<TopoDS_Shell> shells;
        std::vector<std::int32_t> shellRoots;
        for (const auto& [face, user] : faces_) {
            const std::int32_t root = Root(user);
            std::int32_t& shell = shellOf[static_cast<std::size_t>(root)];
            if (shell < 0) {
                shell = static_cast<std::int32_t>(shells.size());
                builder.MakeShell(shells.emplace_back());
                shellRoots.push_back(root);
            }
            builder.Add(shells[static_cast<std::size_t>(shell)], face);
        }
        std::vector<TopoDS_Shape> pieces;
        for (std::size_t s = 0; s < shells.size(); ++s) {
            TopoDS_Shell& shell = shells[s];
            if (open[static_cast<std::size_t>(shellRoots[s])]) {
                pieces.push_back(shell);
                continue;
            }
            shell.Closed(true);
            TopoDS_Solid solid;
            builder.MakeSolid(solid);
            builder.Add(solid, shell);
            pieces.push_back(solid);
        }
        if (pieces.size() == 1) {
            return pieces.front();
        }
        TopoDS_Compound compound;
        builder.MakeCompound(compound);
        for (const TopoDS_Shape& piece : pieces) {
            builder.Add(compound, piece);
        }
        return compound;
    }

    std::int64_t FaceCount() const { return static_cast<std::int64_t>(faces_.size()); }

  private:
    struct Face {
        explicit Face(const Handle(Geom_Surface) & surface) {
            BRep_Builder builder;
            builder.MakeFace(shape, surface, Precision::Confusion());
            builder.MakeWire(wire);
        }
        TopoDS_Face shape;
        TopoDS_Wire wire;
    };

    bool IsCut(std::int32_t segment) const {
        return std::binary_search(cut_.begin(), cut_.end(), segment);
    }

    // Adds edge to the face's wire where it covers border `border` (whose poles are given) from
    // parameter `from` to `to`.
    void Place(Face& face, std::int32_t edge, const CubicPoles& poles, int border, double from,
               double to) {
        edges_.PutOnFace(edge, face.shape, CubicPiece(poles, from, to), BorderUv(border, from),
                         BorderUv(border, to));
        BRep_Builder().Add(
            face.wire, edges_.Edge(edge).Oriented(to > from ? TopAbs_FORWARD : TopAbs_REVERSED));
        pendingEdges_.push_back(edge);
    }

    // Closes the wire into the face. The mirror of Z turns every surface's own normal (u x v)
    // inwards, so a patch faces outwards reversed unless TurnedPatches turns it.
    void Finish(Face& face, std::int32_t patchIndex, bool turned) {
        const std::int32_t user = User(patchIndex);
        for (const std::int32_t edge : pendingEdges_) {
            uses_.push_back({edge, user});
        }
        pendingEdges_.clear();
        face.wire.Closed(true);
        BRep_Builder().Add(face.shape, face.wire);
        faces_.push_back({face.shape.Oriented(turned ? TopAbs_FORWARD : TopAbs_REVERSED), user});
    }

    // Union-find over the patches that made faces, in the order they came.
    std::int32_t User(std::int32_t patchIndex) {
        if (lastPatch_ != patchIndex) {
            lastPatch_ = patchIndex;
            parent_.push_back(static_cast<std::int32_t>(parent_.size()));
        }
        return static_cast<std::int32_t>(parent_.size()) - 1;
    }
    std::int32_t Root(std::int32_t user) {
        while (parent_[static_cast<std::size_t>(user)] != user) {
            std::int32_t& up = parent_[static_cast<std::size_t>(user)];
            up = parent_[static_cast<std::size_t>(up)];
            user = up;
        }
        return user;
    }
    void Join(std::int32_t a, std::int32_t b) {
        a = Root(a);
        b = Root(b);
        if (a != b) {
            parent_[static_cast<std::size_t>(std::max(a, b))] = std::min(a, b);
        }
    }

    const PatchObject& object_;
    PatchEdges edges_;
    std::vector<std::int32_t> cut_;
    std::vector<std::int32_t> pendingEdges_;
    struct EdgeUse {
        std::int32_t edge;
        std::int32_t user;
    };
    std::vector<EdgeUse> uses_;         // every edge of every face, with the patch of the face
    std::vector<std::int32_t> parent_;  // per patch with faces
    std::int32_t lastPatch_ = -1;
    std::vector<std::pair<TopoDS_Shape, std::int32_t>> faces_;  // with the patch that made each
};

}  // namespace

ObjectShape BuildObjectShape(const PatchObject& object, bool smoothSurfaces) {
    const std::vector<std::int32_t> patches = SurfacePatches(object);
    const std::vector<bool> turned = TurnedPatches(object, patches);

    // Triangles cut the segments under them, so which patches are kept must be known first.
    ObjectShape result;
    std::vector<bool> kept(patches.size(), false);
    std::vector<std::array<BezierNet, 3>> nets(patches.size());
    std::vector<std::array<Handle(Geom_Surface), 3>> made(patches.size());
    std::vector<int> counts(patches.size(), 0);
    ShapeBuilder builder(object);
    const PatchSurfaces surfaces(object, smoothSurfaces);
    for (std::size_t i = 0; i < patches.size(); ++i) {
        const Patch& patch = object.Patches()[static_cast<std::size_t>(patches[i])];
        const int count = SurfaceNets(object, patch, nets[i]);
        counts[i] = count;
        kept[i] = !HasRepeatedCorner(object, patch) &&
                  std::all_of(nets[i].begin(), nets[i].begin() + count,
                              [](const BezierNet& net) { return IsFinite(net); }) &&
                  surfaces.Make(patch, count, nets[i], made[i]);
        if (!kept[i]) {
            ++result.patchesLeftOut;
        } else if (count == 3) {
            builder.MarkCutSegments(patch);
        }
    }
    builder.SortCutSegments();
    for (std::size_t i = 0; i < patches.size(); ++i) {
        if (!kept[i]) {
            continue;
        }
        if (counts[i] == 1) {
            builder.AddQuad(patches[i], nets[i][0], made[i][0], turned[i]);
        } else {
            builder.AddTriangle(patches[i], nets[i], made[i], turned[i]);
        }
    }
    result.faces = builder.FaceCount();
    if (result.faces > 0) {
        result.shape = builder.Result();
    }
    return result;
}

}  // namespace korvane
