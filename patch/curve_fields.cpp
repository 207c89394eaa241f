#include "patch/curve_fields.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "patch/double_vec3.h"
#include "patch/patch_facing.h"

namespace korvane {
namespace {

using Curve = std::array<PatchVec3, 4>;

// The first of the differences that is not zero, or zero.
DoubleVec3 FirstNonZero(const DoubleVec3& a, const DoubleVec3& b, const DoubleVec3& c) {
    if (!IsZero(a)) {
        return a;
    }
    return IsZero(b) ? c : b;
}

// The directions in which a cubic leaves its first point and arrives at its last.
DoubleVec3 Leaving(const Curve& q) {
    return FirstNonZero(Widen(q[1]) - Widen(q[0]), Widen(q[2]) - Widen(q[0]),
                        Widen(q[3]) - Widen(q[0]));
}
DoubleVec3 Arriving(const Curve& q) {
    return FirstNonZero(Widen(q[3]) - Widen(q[2]), Widen(q[3]) - Widen(q[1]),
                        Widen(q[3]) - Widen(q[0]));
}

const double kCreaseCosine = std::cos(kCreaseDegrees * std::numbers::pi / 180.0);

// The unit normal of each corner of a patch: the direction in which the side that arrives there
// arrives, crossed with that in which the side that leaves there leaves.
std::array<DoubleVec3, 4> CornerNormals(const std::array<Curve, 4>& sides, int count) {
    std::array<DoubleVec3, 4> normals;
    for (int corner = 0; corner < count; ++corner) {
        normals[static_cast<std::size_t>(corner)] =
            Unit(Cross(Arriving(sides[static_cast<std::size_t>((corner + count - 1) % count)]),
                       Leaving(sides[static_cast<std::size_t>(corner)])));
    }
    return normals;
}

// What one patch side tells about its segment: the segment's cubic in the segment's own
// direction, and the normals of the patch's corners at the segment's first and last point, turned
// where the side runs against the segment, so that patches on either side of the segment get
// opposite normals.
struct SideView {
    Curve segment;
    std::array<DoubleVec3, 2> corner;
};

SideView ViewOfSide(const std::array<Curve, 4>& sides, const std::array<DoubleVec3, 4>& corners,
                    int count, int side, bool forward) {
    const auto first = static_cast<std::size_t>(side);
    const auto last = static_cast<std::size_t>((side + 1) % count);
    SideView view;
    view.segment = sides[first];
    if (forward) {
        view.corner = {corners[first], corners[last]};
    } else {
        std::reverse(view.segment.begin(), view.segment.end());
        view.corner = {-corners[last], -corners[first]};
    }
    return view;
}

// The field of a segment from its first patch's corners and, where there is one, its second's:
// at each end the normal halfway between their planes, or that of the one corner that has one,
// or else that of the other end. Counts the ends where the two corners' planes part by more than
// kCreaseDegrees.
CurveField FieldOfSegment(const SideView& first, const std::array<DoubleVec3, 2>* second,
                          int& creasedEnds) {
    std::array<DoubleVec3, 2> normals;
    creasedEnds = 0;
    for (std::size_t end = 0; end < 2; ++end) {
        const DoubleVec3 own = first.corner[end];
        const DoubleVec3 other = second != nullptr ? (*second)[end] : DoubleVec3{};
        normals[end] = Unit(own - other);
        // Both unit: the planes part by more than kCreaseDegrees where the cosine is below.
        if (!IsZero(own) && !IsZero(other) && Dot(own, -other) < kCreaseCosine) {
            ++creasedEnds;
        }
    }
    for (std::size_t end = 0; end < 2; ++end) {
        if (IsZero(normals[end])) {
            normals[end] = normals[1 - end];
        }
    }
    return FieldAcross(first.segment, Narrow(normals[0]), Narrow(normals[1]));
}

}  // namespace

CurveField FieldAcross(const Curve& curve, const PatchVec3& startNormal,
                       const PatchVec3& endNormal) {
    const DoubleVec3 n0 = Widen(startNormal);
    DoubleVec3 n1 = Widen(endNormal);
    if (Dot(n0, n1) < 0.0) {
        n1 = -n1;
    }
    CurveField field;
    field.start = Narrow(Unit(Cross(n0, Leaving(curve))));
    field.end = Narrow(Unit(Cross(n1, Arriving(curve))));
    return field;
}

Curve SideCurve(const PatchObject& object, const Patch& patch, int side) {
    const auto s = static_cast<std::size_t>(side);
    const SplineNode& start = object.Nodes()[static_cast<std::size_t>(patch.edgeStart[s])];
    const SplineNode& end = object.Nodes()[static_cast<std::size_t>(patch.edgeEnd[s])];
    const bool forward = patch.forward[s];
    return {
        object.PointOf(start), start.Handle(forward ? HandleDirection::kOut : HandleDirection::kIn),
        end.Handle(forward ? HandleDirection::kIn : HandleDirection::kOut), object.PointOf(end)};
}

CurveFields ComputeCurveFields(const PatchObject& object) {
    CurveFields fields;
    fields.segments.assign(object.Nodes().size(), CurveField{});
    std::vector<bool> cornerPoint(object.Points().size(), false);
    for (const SplineNode& node : object.Nodes()) {
        if (node.corner) {
            cornerPoint[static_cast<std::size_t>(node.controlPoint)] = true;
        }
    }
    // Per segment: how many patch sides lie on it (up to 3), and the first one's corner normals
    // until the second comes.
    std::vector<std::uint8_t> sidesOn(object.Nodes().size(), 0);
    std::vector<std::array<PatchVec3, 2>> firstCorners(object.Nodes().size());
    std::array<Curve, 4> sides;
    std::array<DoubleVec3, 4> corners;
    // Calls visit(patch, side, segment) for every side of every 3- and 4-sided patch that has a
    // side on a segment that `wanted` wants, with the patch's sides in `sides` and its corners'
    // normals in `corners`.
    const auto forEachSide = [&](const auto& wanted, const auto& visit) {
        for (const Patch& patch : object.Patches()) {
            if (patch.cornerCount != 3 && patch.cornerCount != 4) {
                continue;
            }
            bool any = false;
            for (int side = 0; side < patch.cornerCount; ++side) {
                any = any || wanted(static_cast<std::size_t>(SegmentOf(patch, side)));
            }
            if (!any) {
                continue;
            }
            for (int side = 0; side < patch.cornerCount; ++side) {
                sides[static_cast<std::size_t>(side)] = SideCurve(object, patch, side);
            }
            corners = CornerNormals(sides, patch.cornerCount);
            for (int side = 0; side < patch.cornerCount; ++side) {
                visit(patch, side, static_cast<std::size_t>(SegmentOf(patch, side)));
            }
        }
    };
    const auto setField = [&](const Patch& patch, int side, std::size_t segment,
                              const SideView& first, const std::array<DoubleVec3, 2>* second) {
        int creasedEnds = 0;
        CurveField& field = fields.segments[segment];
        field = FieldOfSegment(first, second, creasedEnds);
        const auto s = static_cast<std::size_t>(side);
        const std::int32_t next = patch.forward[s] ? patch.edgeEnd[s] : patch.edgeStart[s];
        if (cornerPoint[static_cast<std::size_t>(object.Nodes()[segment].controlPoint)] ||
            cornerPoint[static_cast<std::size_t>(
                object.Nodes()[static_cast<std::size_t>(next)].controlPoint)]) {
            field.crease = CreaseReason::kCornerNode;
        } else if (creasedEnds == 2) {
            field.crease = CreaseReason::kCreasedEnds;
        }
    };
    // Segments between two patches get their field when the second comes; a third makes it a
    // crease.
    const auto every = [](std::size_t) { return true; };
    forEachSide(every, [&](const Patch& patch, int side, std::size_t segment) {
        std::uint8_t& count = sidesOn[segment];
        if (count == 2) {
            CreaseReason& crease = fields.segments[segment].crease;
            crease = crease == CreaseReason::kCornerNode ? crease : CreaseReason::kManyPatches;
        }
        if (count < 3) {
            ++count;
        }
        if (count > 2) {
            return;
        }
        const SideView view = ViewOfSide(sides, corners, patch.cornerCount, side,
                                         patch.forward[static_cast<std::size_t>(side)]);
        if (count == 1) {
            firstCorners[segment] = {Narrow(view.corner[0]), Narrow(view.corner[1])};
            return;
        }
        SideView first = view;
        first.corner = {Widen(firstCorners[segment][0]), Widen(firstCorners[segment][1])};
        setField(patch, side, segment, first, &view.corner);
    });
    // Segments on the border of the network: from their one patch alone.
    const auto onBorder = [&](std::size_t segment) { return sidesOn[segment] == 1; };
    forEachSide(onBorder, [&](const Patch& patch, int side, std::size_t segment) {
        if (sidesOn[segment] == 1) {
            setField(patch, side, segment,
                     ViewOfSide(sides, corners, patch.cornerCount, side,
                                patch.forward[static_cast<std::size_t>(side)]),
                     nullptr);
        }
    });
    return fields;
}

}  // namespace korvane
