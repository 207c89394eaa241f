#include <gtest/gtest.h>

#include "patch/patch_invariants.h"
#include "patch/patch_object.h"
#include "support/network_builder.h"

namespace korvane {
namespace {

using testing::NetworkBuilder;

TEST(PatchObjectTest, NewObjectHasDefaults) {
    PatchObject object;
    EXPECT_EQ(object.name, "");
    EXPECT_EQ(object.colour, 0xFFFFFFu);
    EXPECT_EQ(object.patchesValid, 0);
    EXPECT_EQ(object.controlPoints.GetCount(), 0);
    EXPECT_EQ(object.splines.GetCount(), 0);
    EXPECT_EQ(object.patches.GetCount(), 0);

    ControlPoint* point = object.AddControlPoint();
    EXPECT_EQ(point->x, 0.0f);
    EXPECT_EQ(point->pointFlag, 1);
    SplineNode* node = object.AddSpline()->AddNode();
    EXPECT_EQ(node->corner, 0);
    EXPECT_EQ(node->tension, 0.3f);
    EXPECT_EQ(node->controlPoint, nullptr);
    const Patch* patch = object.AddPatch();
    EXPECT_EQ(patch->cornerCount, 0);
    EXPECT_EQ(patch->edgeStart[3], nullptr);
    EXPECT_EQ(patch->forward[0], 0);
}

TEST(PatchObjectTest, NumberSplinesNumbersSplinesAndNodes) {
    PatchObject object;
    NetworkBuilder build(object);
    for (int i = 0; i < 6; ++i) {
        build.Point(static_cast<float>(i), 0, 0);
    }
    build.Curve({0, 1});
    build.Curve({0, 1, 2, 3, 4});
    build.Curve({3, 4, 5});
    object.NumberSplines();
    object.NumberControlPoints();
    int expectedSpline = 0;
    const int lengths[] = {2, 5, 3};
    for (const Spline* spline : object.splines) {
        EXPECT_EQ(spline->index, expectedSpline);
        int expectedNode = 0;
        for (const SplineNode* node : spline->nodes) {
            EXPECT_EQ(node->index, expectedNode++);
        }
        EXPECT_EQ(expectedNode, lengths[expectedSpline]);
        ++expectedSpline;
    }
    EXPECT_EQ(build.point(5)->index, 5);
    EXPECT_TRUE(CheckPatchInvariants(object).empty());
}

TEST(PatchObjectTest, DeletePatchesClearsValidity) {
    PatchObject object;
    object.patchesValid = 1;
    object.DeletePatches();
    EXPECT_EQ(object.patchesValid, 0);
    object.AddPatch();
    object.AddPatch();
    object.patchesValid = 1;
    object.DeletePatches();
    EXPECT_EQ(object.patches.GetCount(), 0);
    EXPECT_EQ(object.patchesValid, 0);
}

// Counts live records so that destruction can be checked for leaks without a sanitizer.
struct CountingNode : SplineNode {
    static inline int alive = 0;
    CountingNode() { ++alive; }
    ~CountingNode() override { --alive; }
};
struct CountingRef : SplineRef {
    static inline int alive = 0;
    CountingRef() { ++alive; }
    ~CountingRef() override { --alive; }
};

TEST(PatchObjectTest, DestructionDeletesEveryRecord) {
    {
        PatchObject object;
        ControlPoint* a = object.AddControlPoint();
        ControlPoint* b = object.AddControlPoint();
        Spline* spline = object.AddSpline();
        for (ControlPoint* point : {a, b}) {
            auto* node = new CountingNode;
            node->controlPoint = point;
            spline->nodes.AddTail(node);
            auto* ref = new CountingRef;
            ref->spline = spline;
            ref->node = node;
            point->splineRefs.AddTail(ref);
        }
        Patch* patch = object.AddPatch();
        a->patches.AddTail(patch);
        EXPECT_EQ(CountingNode::alive, 2);
        EXPECT_EQ(CountingRef::alive, 2);
    }
    EXPECT_EQ(CountingNode::alive, 0);
    EXPECT_EQ(CountingRef::alive, 0);
}

TEST(PatchInvariantsTest, ReportsBrokenNetworks) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(1, 0, 0);
    Spline* spline = build.Curve({0, 1});
    EXPECT_TRUE(CheckPatchInvariants(object).empty());

    // A node without its reference.
    SplineRef* ref = build.point(1)->splineRefs.GetHead();
    build.point(1)->splineRefs.RemoveAll();
    EXPECT_EQ(CheckPatchInvariants(object).size(), 1u);
    // The same reference twice.
    build.point(1)->splineRefs.AddTail(ref);
    auto* twin = build.point(1)->AddSplineRef();
    twin->spline = spline;
    twin->node = ref->node;
    EXPECT_FALSE(CheckPatchInvariants(object).empty());
    build.point(1)->splineRefs.RemoveAt(build.point(1)->splineRefs.GetTailPosition());
    delete twin;
    EXPECT_TRUE(CheckPatchInvariants(object).empty());

    // A closed spline whose tail repeats its head.
    Spline* loop = build.Curve({0, 1, 0});
    loop->closed = 1;
    EXPECT_EQ(CheckPatchInvariants(object).size(), 1u);
    loop->closed = 0;

    // A spline with one node.
    build.Curve({1});
    EXPECT_EQ(CheckPatchInvariants(object).size(), 1u);
}

}  // namespace
}  // namespace korvane
