#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "patch/patch_builder.h"
#include "patch/patch_invariants.h"
#include "patch/patch_network_access.h"
#include "support/mesh_shapes.h"
#include "support/network_builder.h"

namespace korvane {
namespace {

using testing::At;
using testing::FillMesh;
using testing::NetworkBuilder;

std::vector<int> Corners(const PatchObject& object, const Patch& patch) {
    std::vector<int> corners;
    for (int i = 0; i < patch.cornerCount; ++i) {
        corners.push_back(
            object.Nodes()[static_cast<std::size_t>(patch.edgeStart[i])].controlPoint);
    }
    return corners;
}

std::vector<int> Forward(const Patch& patch) {
    std::vector<int> forward;
    for (int i = 0; i < patch.cornerCount; ++i) {
        forward.push_back(patch.forward[i] ? 1 : 0);
    }
    return forward;
}

int CountWithCorners(const PatchObject& object, int cornerCount) {
    int n = 0;
    for (const Patch& patch : object.Patches()) {
        n += patch.cornerCount == cornerCount ? 1 : 0;
    }
    return n;
}

// Runs DetectPatches and checks what must hold after every run: sound network, valid flag set,
// and patch edges that each join a node to its neighbour along their spline.
void Detect(PatchObject& object) {
    DetectPatches(object);
    const auto problems = CheckPatchInvariants(object);
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_TRUE(object.PatchesValid());
    for (const Patch& patch : object.Patches()) {
        for (int i = 0; i < patch.cornerCount; ++i) {
            const std::int32_t expected =
                patch.forward[i] ? object.Successor(patch.spline[i], patch.edgeStart[i])
                                 : object.Predecessor(patch.spline[i], patch.edgeStart[i]);
            EXPECT_EQ(patch.edgeEnd[i], expected);
        }
    }
}

// The corner sets of all patches, each sorted, so that loops compare regardless of orientation.
std::multiset<std::vector<int>> CornerSets(const PatchObject& object) {
    std::multiset<std::vector<int>> sets;
    for (const Patch& patch : object.Patches()) {
        std::vector<int> corners = Corners(object, patch);
        std::sort(corners.begin(), corners.end());
        sets.insert(corners);
    }
    return sets;
}

void BuildFrom(PatchObject& object, const std::vector<Vec3>& points,
               const std::vector<std::pair<int, int>>& edges) {
    PolyMesh mesh;
    FillMesh(mesh, points, edges);
    BuildFromMesh(mesh, object);
}

TEST(DetectPatchesTest, QuadOfFourEdgesGivesOnePatch) {
    PatchObject object;
    BuildFrom(object, {At(0, 0, 0), At(1, 0, 0), At(1, 1, 0), At(0, 1, 0)},
              {{0, 1}, {1, 2}, {2, 3}, {3, 0}});
    EXPECT_EQ(object.SplineCount(), 4);
    Detect(object);

    ASSERT_EQ(object.Patches().size(), 1u);
    const Patch& patch = object.Patches().front();
    EXPECT_EQ(patch.cornerCount, 4);
    EXPECT_EQ(Corners(object, patch), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(Forward(patch), (std::vector<int>{1, 1, 1, 1}));
}

TEST(DetectPatchesTest, EdgesAgainstTheLoopAreWalkedBackwards) {
    PatchObject object;
    BuildFrom(object, {At(0, 0, 0), At(1, 0, 0), At(1, 1, 0), At(0, 1, 0)},
              {{0, 1}, {2, 1}, {2, 3}, {0, 3}});
    Detect(object);

    ASSERT_EQ(object.Patches().size(), 1u);
    const Patch& patch = object.Patches().front();
    EXPECT_EQ(Corners(object, patch), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(Forward(patch), (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(object.Nodes()[static_cast<std::size_t>(patch.edgeEnd[1])].controlPoint,
              object.Nodes()[static_cast<std::size_t>(patch.edgeStart[2])].controlPoint);
}

TEST(DetectPatchesTest, TwoTrianglesSharingAnEdgeGiveNoQuad) {
    PatchObject object;
    BuildFrom(object, {At(0, 0, 0), At(1, 0, 0), At(1, 1, 0), At(0, 1, 0)},
              {{0, 1}, {1, 2}, {2, 0}, {2, 3}, {3, 0}});
    Detect(object);

    EXPECT_EQ(object.Patches().size(), 2u);
    EXPECT_EQ(CountWithCorners(object, 3), 2);
    EXPECT_EQ(CornerSets(object), (std::multiset<std::vector<int>>{{0, 1, 2}, {0, 2, 3}}));
    // The first discovery keeps the order of spline 0.
    EXPECT_EQ(Corners(object, object.Patches().front()), (std::vector<int>{0, 1, 2}));
}

TEST(DetectPatchesTest, LoneClosedSplinesAreNoPatches) {
    for (int nodes : {3, 4}) {
        PatchObject object;
        NetworkBuilder build(object);
        for (int i = 0; i < nodes; ++i) {
            build.Point(static_cast<float>(i % 2), static_cast<float>(i / 2), 0);
        }
        if (nodes == 3) {
            build.Curve({0, 1, 2}, true);
        } else {
            build.Curve({0, 1, 3, 2}, true);
        }
        Detect(object);
        EXPECT_EQ(object.Patches().size(), 0u) << nodes << " nodes";
    }
}

TEST(DetectPatchesTest, ClosedSplinePlusAChordMakesTwoTriangles) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(1, 0, 0);
    build.Point(1, 1, 0);
    build.Point(0, 1, 0);
    build.Curve({0, 1, 2, 3}, true);
    build.Curve({0, 2});
    Detect(object);

    EXPECT_EQ(CornerSets(object), (std::multiset<std::vector<int>>{{0, 1, 2}, {0, 2, 3}}));
}

TEST(DetectPatchesTest, CubeGivesSixQuadsAndTetrahedronFourTriangles) {
    PatchObject cube;
    BuildFrom(cube,
              {At(0, 0, 0), At(1, 0, 0), At(1, 1, 0), At(0, 1, 0), At(0, 0, 1), At(1, 0, 1),
               At(1, 1, 1), At(0, 1, 1)},
              {{0, 1},
               {1, 2},
               {2, 3},
               {3, 0},
               {4, 5},
               {5, 6},
               {6, 7},
               {7, 4},
               {0, 4},
               {1, 5},
               {2, 6},
               {3, 7}});
    Detect(cube);
    EXPECT_EQ(CountWithCorners(cube, 4), 6);
    EXPECT_EQ(CountWithCorners(cube, 3), 0);
    const auto faces = CornerSets(cube);
    EXPECT_EQ(std::set<std::vector<int>>(faces.begin(), faces.end()).size(), 6u);

    PatchObject tetrahedron;
    BuildFrom(tetrahedron, {At(0, 0, 0), At(1, 0, 0), At(0, 1, 0), At(0, 0, 1)},
              {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}});
    Detect(tetrahedron);
    EXPECT_EQ(CornerSets(tetrahedron),
              (std::multiset<std::vector<int>>{{0, 1, 2}, {0, 1, 3}, {0, 2, 3}, {1, 2, 3}}));
}

TEST(DetectPatchesTest, GridGivesOneQuadPerCell) {
    for (const auto& [width, height] : {std::pair{1, 1}, std::pair{4, 3}, std::pair{7, 2}}) {
        PolyMesh mesh;
        testing::FillGrid(mesh, width, height);
        PatchObject object;
        BuildFromMesh(mesh, object);
        Detect(object);

        EXPECT_EQ(CountWithCorners(object, 4), width * height);
        EXPECT_EQ(CountWithCorners(object, 3), 0);
        std::multiset<std::vector<int>> cells;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const int low = y * (width + 1) + x;
                const int high = low + width + 1;
                cells.insert({low, low + 1, high, high + 1});
            }
        }
        EXPECT_EQ(CornerSets(object), cells) << width << " x " << height;
    }
}

TEST(DetectPatchesTest, TorusGivesOneQuadPerCell) {
    PolyMesh mesh;
    testing::FillTorus(mesh, 7, 5);
    PatchObject object;
    BuildFromMesh(mesh, object);
    Detect(object);

    EXPECT_EQ(CountWithCorners(object, 4), 35);
    EXPECT_EQ(CountWithCorners(object, 3), 0);
    const auto sets = CornerSets(object);
    EXPECT_EQ(std::set<std::vector<int>>(sets.begin(), sets.end()).size(), 35u);
}

// A 2 x 2 grid of long splines, as Connect Curve leaves it: rows 0-1-2, 3-4-5, 6-7-8 run left to
// right, columns 0-3-6, 1-4-7, 2-5-8 bottom to top.
void FillLongSplineGrid(PatchObject& object) {
    NetworkBuilder build(object);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            build.Point(static_cast<float>(x), static_cast<float>(y), 0);
        }
    }
    build.Curve({0, 1, 2});
    build.Curve({3, 4, 5});
    build.Curve({6, 7, 8});
    build.Curve({0, 3, 6});
    build.Curve({1, 4, 7});
    build.Curve({2, 5, 8});
}

TEST(DetectPatchesTest, QuadsKeepTheOrderAndOrientationOfTheirFirstDiscovery) {
    PatchObject object;
    FillLongSplineGrid(object);
    Detect(object);

    // Walking on along a row after turning up a column is not turned back on: the lower left
    // cell is not found from the bottom row but later from the middle one.
    const std::vector<std::vector<int>> corners = {
        {1, 2, 5, 4}, {3, 4, 1, 0}, {4, 5, 8, 7}, {6, 7, 4, 3}};
    const std::vector<std::vector<int>> forward = {
        {1, 1, 0, 0}, {1, 0, 0, 1}, {1, 1, 0, 0}, {1, 0, 0, 1}};
    ASSERT_EQ(object.Patches().size(), 4u);
    for (std::size_t i = 0; i < object.Patches().size(); ++i) {
        EXPECT_EQ(Corners(object, object.Patches()[i]), corners[i]) << "patch " << i;
        EXPECT_EQ(Forward(object.Patches()[i]), forward[i]) << "patch " << i;
    }
}

TEST(DetectPatchesTest, RunningAgainRebuildsTheSameList) {
    PatchObject object;
    FillLongSplineGrid(object);
    Detect(object);
    std::vector<std::vector<int>> first;
    for (const Patch& patch : object.Patches()) {
        first.push_back(Corners(object, patch));
    }
    PatchNetworkAccess::SetPatchesValid(object, false);
    Detect(object);
    std::vector<std::vector<int>> second;
    for (const Patch& patch : object.Patches()) {
        second.push_back(Corners(object, patch));
    }
    EXPECT_EQ(first, second);
}

// Nodes that share a point give zero-length segments; the search must still end with a sound
// network (Detect checks it).
TEST(DetectPatchesTest, DegenerateNetworksKeepTheInvariants) {
    PatchObject object;
    NetworkBuilder build(object);
    build.Point(0, 0, 0);
    build.Point(1, 0, 0);
    build.Point(0, 1, 0);
    build.Curve({0, 0});
    build.Curve({0, 1, 0});
    build.Curve({1, 1, 2});
    build.Curve({2, 0, 0, 1}, true);
    Detect(object);
}

TEST(DetectPatchesTest, EmptyObjectIsValidWithNoPatches) {
    PatchObject object;
    Detect(object);
    EXPECT_EQ(object.Patches().size(), 0u);
}

}  // namespace
}  // namespace korvane
