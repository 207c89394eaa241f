#include "patch/bezier_net.h"

#include <cstddef>

namespace korvane {
namespace {

// The boundary of a patch as cubic Bezier sides: corner[i], along[i] (a_i) and back[i] (b_i).
struct PatchSides {
    PatchSides(const PatchObject& object, const Patch& patch) {
        for (std::size_t i = 0; i < static_cast<std::size_t>(patch.cornerCount); ++i) {
            const SplineNode& start = object.Nodes()[static_cast<std::size_t>(patch.edgeStart[i])];
            const SplineNode& end = object.Nodes()[static_cast<std::size_t>(patch.edgeEnd[i])];
            const bool forward = patch.forward[i];
            corner[i] = object.PointOf(start);
            along[i] = start.Handle(forward ? HandleDirection::kOut : HandleDirection::kIn);
            back[i] = end.Handle(forward ? HandleDirection::kIn : HandleDirection::kOut);
        }
    }

    PatchVec3 corner[4];
    PatchVec3 along[4];
    PatchVec3 back[4];
};

// The point that completes the parallelogram of first, corner and second.
PatchVec3 Parallelogram(const PatchVec3& first, const PatchVec3& second, const PatchVec3& corner) {
    return Subtract(Add(first, second), corner);
}

PatchVec3 Half(const PatchVec3& a, const PatchVec3& b) {
    return Divide(Add(a, b), 2.0f);
}

// A cubic row Q0..Q3 split at its midpoint by de Casteljau: points 0..3 are the first half and
// points 3..6 the second.
using HalvedRow = std::array<PatchVec3, 7>;

HalvedRow Halve(const std::array<PatchVec3, 4>& q) {
    HalvedRow r;
    r[0] = q[0];
    r[1] = Half(q[0], q[1]);
    r[2] = Divide(Add(Add(q[0], Scale(q[1], 2.0f)), q[2]), 4.0f);
    r[3] = Divide(Add(Add(q[0], Scale(Add(q[1], q[2]), 3.0f)), q[3]), 8.0f);
    r[4] = Divide(Add(Add(q[1], Scale(q[2], 2.0f)), q[3]), 4.0f);
    r[5] = Half(q[2], q[3]);
    r[6] = q[3];
    return r;
}

// Rows of one side of a triangle after halving: the side itself, the row next to it inside the
// triangle, and the row halfway between the two.
struct SideStrip {
    HalvedRow side;
    HalvedRow inner;
    HalvedRow middle;
};

SideStrip StripOfSide(const PatchSides& s, int k) {
    const int previous = (k + 2) % 3;
    const int next = (k + 1) % 3;
    SideStrip strip;
    strip.side = Halve({s.corner[k], s.along[k], s.back[k], s.corner[next]});
    strip.inner = Halve({s.back[previous], Parallelogram(s.along[k], s.back[previous], s.corner[k]),
                         Parallelogram(s.along[next], s.back[k], s.corner[next]), s.along[next]});
    for (int m = 0; m < 7; ++m) {
        strip.middle[m] = Add(strip.side[m], Divide(Subtract(strip.inner[m], strip.side[m]), 2.0f));
    }
    return strip;
}

// The inner point of a corner's region: a point of a middle row next to the corner, moved by
// three quarters of the two middle-row arms that leave the corner.
PatchVec3 InnerPoint(const PatchVec3& base, const PatchVec3& firstArm, const PatchVec3& secondArm) {
    return Add(base, Scale(Add(firstArm, secondArm), 0.75f));
}

// The arm of a middle row at the corner where its side starts, and where its side ends.
PatchVec3 LeavingArm(const SideStrip& strip) {
    return Subtract(strip.middle[2], strip.middle[1]);
}
PatchVec3 ArrivingArm(const SideStrip& strip) {
    return Subtract(strip.middle[4], strip.middle[5]);
}

}  // namespace

void QuadNet(const PatchObject& object, const Patch& patch, BezierNet& net) {
    const PatchSides s(object, patch);
    net.SetPoint(0, 0, s.corner[0]);
    net.SetPoint(3, 0, s.corner[1]);
    net.SetPoint(3, 3, s.corner[2]);
    net.SetPoint(0, 3, s.corner[3]);
    net.SetPoint(1, 0, s.along[0]);
    net.SetPoint(2, 0, s.back[0]);
    net.SetPoint(3, 1, s.along[1]);
    net.SetPoint(3, 2, s.back[1]);
    net.SetPoint(2, 3, s.along[2]);
    net.SetPoint(1, 3, s.back[2]);
    net.SetPoint(0, 2, s.along[3]);
    net.SetPoint(0, 1, s.back[3]);
    net.SetPoint(1, 1, Parallelogram(net.Point(0, 1), net.Point(1, 0), net.Point(0, 0)));
    net.SetPoint(1, 2, Parallelogram(net.Point(0, 2), net.Point(1, 3), net.Point(0, 3)));
    net.SetPoint(2, 1, Parallelogram(net.Point(3, 1), net.Point(2, 0), net.Point(3, 0)));
    net.SetPoint(2, 2, Parallelogram(net.Point(3, 2), net.Point(2, 3), net.Point(3, 3)));
}

void TriangleNets(const PatchObject& object, const Patch& patch, std::array<BezierNet, 3>& nets) {
    const PatchSides s(object, patch);
    const SideStrip strips[3] = {StripOfSide(s, 0), StripOfSide(s, 1), StripOfSide(s, 2)};
    // Corner 0 is based on the side that leaves it, corners 1 and 2 on the side that arrives: the
    // same point either way but for rounding.
    const PatchVec3 inner[3] = {
        InnerPoint(strips[0].middle[1], LeavingArm(strips[0]), ArrivingArm(strips[2])),
        InnerPoint(strips[0].middle[5], ArrivingArm(strips[0]), LeavingArm(strips[1])),
        InnerPoint(strips[1].middle[5], ArrivingArm(strips[1]), LeavingArm(strips[2]))};
    // between[k] lies between the inner points of corners k and k+1.
    const PatchVec3 between[3] = {Half(inner[0], inner[1]), Half(inner[1], inner[2]),
                                  Half(inner[2], inner[0])};
    const PatchVec3 centre = Divide(Add(Add(inner[0], inner[1]), inner[2]), 3.0f);

    for (int k = 0; k < 3; ++k) {
        const int p = (k + 2) % 3;
        const SideStrip& own = strips[k];
        const SideStrip& arriving = strips[p];
        BezierNet& net = nets[static_cast<std::size_t>(k)];
        for (int u = 0; u < 4; ++u) {
            net.SetPoint(u, 0, own.side[u]);
            net.SetPoint(u, 1, own.middle[u]);
        }
        net.SetPoint(0, 2, arriving.side[4]);
        net.SetPoint(1, 2, arriving.middle[4]);
        net.SetPoint(2, 2, inner[k]);
        net.SetPoint(3, 2, between[k]);
        net.SetPoint(0, 3, arriving.side[3]);
        net.SetPoint(1, 3, arriving.middle[3]);
        net.SetPoint(2, 3, between[p]);
        net.SetPoint(3, 3, centre);
    }
}

}  // namespace korvane
