#include <gtest/gtest.h>

#include "document/object_store.h"
#include "image_compare.h"
#include "render_support.h"
#include "view/offscreen_renderer.h"

namespace korvane {
namespace {

using testing::AddLoop;

// A box of 8 control points and 12 edge curves, in yellow; its 6 faces are quad patches.
void AddBox(ObjectStore& store) {
    PatchObject* box = store.AddObject();
    box->colour = 0x00FFFF;
    testing::NetworkBuilder build(*box);
    for (int i = 0; i < 8; ++i) {
        build.Point(i & 1 ? 3.0f : -3.0f, i & 2 ? 6.0f : 0.0f, i & 4 ? 3.0f : -3.0f);
    }
    for (int i = 0; i < 8; ++i) {
        for (int bit : {1, 2, 4}) {
            if ((i & bit) == 0) {
                build.Curve({i, i | bit});
            }
        }
    }
    ComputeHandles(*box);
    DetectPatches(*box);
}

// The box, a white triangle beside it and a cyan square behind, seen turned 30 degrees to the
// left, 20 degrees from above and from 0.7 times the default distance.
void AddScene(ObjectStore& store) {
    AddBox(store);
    AddLoop(store, {{-9, 0, -2}, {-5, 0, -2}, {-7, 5, 0}}, 0xFFFFFF);
    AddLoop(store, {{2, -2, 8}, {9, -2, 8}, {9, 4, 10}, {2, 4, 10}}, 0xFFFF00);
}

OffscreenRenderOptions Options() {
    OffscreenRenderOptions options;
    options.width = 200;
    options.height = 150;
    OrbitCamera(options.camera, -60, -12);
    ZoomCamera(options.camera, 0, -60);
    return options;
}

void ExpectMatchesBaseline(ObjectStore& store, const OffscreenRenderOptions& options,
                           const std::string& name) {
    RgbaImage image;
    std::string error;
    ASSERT_TRUE(RenderOffscreen(store.objects, options, image, error)) << error;
    const std::string problem =
        testing::MatchBaseline(image, name, KORVANE_BASELINE_DIR, KORVANE_ACTUAL_DIR);
    EXPECT_TRUE(problem.empty()) << problem;
}

TEST(BaselineTest, CurvesOnly) {
    ObjectStore store;
    AddScene(store);
    ExpectMatchesBaseline(store, Options(), "scene_curves");
}

TEST(BaselineTest, VerticesCurvesAndSurfaces) {
    ObjectStore store;
    AddScene(store);
    OffscreenRenderOptions options = Options();
    options.display.showVertices = true;
    options.display.showSurfaces = true;
    options.display.curveResolution = 4;
    options.display.surfaceResolution = 4;
    ExpectMatchesBaseline(store, options, "scene_surfaces");
}

TEST(BaselineTest, ComparisonCatchesAChangedFrame) {
    ObjectStore store;
    AddScene(store);
    RgbaImage reference;
    RgbaImage changed;
    std::string error;
    OffscreenRenderOptions options = Options();
    ASSERT_TRUE(RenderOffscreen(store.objects, options, reference, error)) << error;
    options.backgroundColour = 0x606060;  // 4 below the default in every channel
    ASSERT_TRUE(RenderOffscreen(store.objects, options, changed, error)) << error;
    EXPECT_EQ(testing::CompareImages(changed, reference).differingPixels, 0)
        << "within the channel tolerance";
    options.display.showSurfaces = true;
    ASSERT_TRUE(RenderOffscreen(store.objects, options, changed, error)) << error;
    const testing::ImageDifference difference = testing::CompareImages(changed, reference);
    EXPECT_GT(difference.differingFraction, testing::kMaxDifferingFraction);
}

}  // namespace
}  // namespace korvane
