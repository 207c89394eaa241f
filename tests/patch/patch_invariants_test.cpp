#include "patch/patch_invariants.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "patch/patch_network_access.h"

namespace korvane {
namespace {

// A square of four two-node splines, (0 1), (1 2), (2 3), (3 0), owning nodes 0-1, 2-3, 4-5 and
// 6-7, with the one patch round it.
PatchObject Square() {
    PatchObject object;
    for (const PatchVec3& corner :
         {PatchVec3(0, 0, 0), PatchVec3(1, 0, 0), PatchVec3(1, 1, 0), PatchVec3(0, 1, 0)}) {
        object.AddControlPoint(corner);
    }
    for (std::int32_t i = 0; i < 4; ++i) {
        object.AddSpline(std::array<std::int32_t, 2>{i, (i + 1) % 4});
    }
    object.IndexReferences();
    Patch patch;
    patch.cornerCount = 4;
    patch.edgeStart = {0, 2, 4, 6};
    patch.edgeEnd = {1, 3, 5, 7};
    patch.spline = {0, 1, 2, 3};
    patch.forward = {true, true, true, true};
    PatchNetworkAccess::Patches(object).push_back(patch);
    PatchNetworkAccess::SetPatchesValid(object, true);
    return object;
}

// Every way of breaking the arrays is reported, and none makes the check read out of range.
TEST(PatchInvariantsTest, ReportsBrokenArraysWithoutReadingPastThem) {
    struct Case {
        const char* what;
        void (*breakIt)(PatchObject&);
        std::vector<std::string> problems;
    };
    const std::string badSplineStarts =
        "the spline starts do not split the nodes among the splines";
    const std::string badRefStarts =
        "the reference starts do not split the references among the points";
    const Case cases[] = {
        {"sound", [](PatchObject&) {}, {}},
        {"a spline start missing",
         [](PatchObject& o) { PatchNetworkAccess::SplineStarts(o).pop_back(); },
         {badSplineStarts}},
        {"a node missing",
         [](PatchObject& o) { PatchNetworkAccess::Nodes(o).pop_back(); },
         {badSplineStarts}},
        {"spline starts going back",
         [](PatchObject& o) { PatchNetworkAccess::SplineStarts(o)[1] = 5; },
         {badSplineStarts}},
        {"spline starts not from 0",
         [](PatchObject& o) { PatchNetworkAccess::SplineStarts(o)[0] = 1; },
         {badSplineStarts}},
        {"a reference start missing",
         [](PatchObject& o) { PatchNetworkAccess::RefStarts(o).pop_back(); },
         {badRefStarts}},
        {"reference starts past the references",
         [](PatchObject& o) { PatchNetworkAccess::RefStarts(o).back() = 9; },
         {badRefStarts}},
        {"reference starts going back",
         [](PatchObject& o) { PatchNetworkAccess::RefStarts(o)[2] = 1; },
         {badRefStarts}},
        {"a reference to a node of another spline",
         [](PatchObject& o) {
             PatchNetworkAccess::Refs(
                 o)[static_cast<std::size_t>(PatchNetworkAccess::RefStarts(o)[1])]
                 .spline = 1;
         },
         {"control point 1 holds a reference to a node that is not in its spline",
          "spline 0 has a node matched by 0 references"}},
        {"a reference past the nodes",
         [](PatchObject& o) {
             PatchNetworkAccess::Refs(
                 o)[static_cast<std::size_t>(PatchNetworkAccess::RefStarts(o)[1])]
                 .node = 1000;
         },
         {"control point 1 holds a reference to a node that is not in its spline",
          "spline 0 has a node matched by 0 references"}},
        {"a reference to a negative spline",
         [](PatchObject& o) { PatchNetworkAccess::Refs(o)[0].spline = -1; },
         {"control point 0 holds a reference to a node that is not in its spline",
          "spline 0 has a node matched by 0 references"}},
        {"a node on a negative point",
         [](PatchObject& o) { PatchNetworkAccess::Nodes(o)[0].controlPoint = -1; },
         {"control point 0 holds a reference to a node that sits on another point",
          "spline 0 has a node on a point that is not in the object",
          "patch 0 edge 3 does not chain"}},
        {"a patch of five corners",
         [](PatchObject& o) { PatchNetworkAccess::Patches(o)[0].cornerCount = 5; },
         {"patch 0 has 5 corners"}},
        {"a patch edge past the nodes",
         [](PatchObject& o) { PatchNetworkAccess::Patches(o)[0].edgeStart[2] = 99; },
         {"patch 0 edge 2 names a node not in its spline"}},
        {"a patch edge on a missing spline",
         [](PatchObject& o) { PatchNetworkAccess::Patches(o)[0].spline[1] = -1; },
         {"patch 0 edge 1 names a node not in its spline"}},
        {"a patch edge along another spline",
         [](PatchObject& o) { PatchNetworkAccess::Patches(o)[0].spline[3] = 0; },
         {"patch 0 edge 3 names a node not in its spline"}},
        {"patch edges that do not meet",
         [](PatchObject& o) { PatchNetworkAccess::Patches(o)[0].edgeEnd[0] = 0; },
         {"patch 0 edge 0 does not chain"}},
    };
    for (const Case& c : cases) {
        PatchObject object = Square();
        c.breakIt(object);
        EXPECT_EQ(CheckPatchInvariants(object), c.problems) << c.what;
    }
}

}  // namespace
}  // namespace korvane
