#include <gtest/gtest.h>

#include <string>

#include "image_compare.h"
#include "document/object_store.h"
#include "patch/curve_connector.h"
#include "patch/patch_builder.h"
#include "render_support.h"
#include "support/generated_network.h"
#include "tools/modelgen/model_shapes.h"
#include "view/offscreen_canvas.h"
#include "view/scene_drawer.h"

namespace korvane {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

class SmoothSurfacesViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(canvas_.Open(kWidth, kHeight, error)) << error;
    }
    void TearDown() override { cache_.Clear(); }

    SceneFrame FrameOf(const ObjectStore& store, bool smooth) const {
        SceneFrame frame;
        frame.objects = &store.objects;
        frame.display.showSurfaces = true;
        frame.display.smoothSurfaces = smooth;
        frame.display.surfaceResolution = 3;
        frame.width = kWidth;
        frame.height = kHeight;
        OrbitCamera(frame.camera, -50, -15);
        return frame;
    }

    RgbaImage Draw(const SceneFrame& frame) {
        DrawFrame(frame, cache_);
        RgbaImage image;
        canvas_.Read(image);
        return image;
    }

    OffscreenCanvas canvas_;
    DrawCache cache_;
};

// A flat square is the same surface either way, cut into the same triangles with the same
// normals: the same picture to the pixel.
TEST_F(SmoothSurfacesViewTest, AFlatPatchIsLitAsTheNetsLightIt) {
    ObjectStore store;
    testing::AddLoop(store, {{-4, 0, -4}, {4, 0, -4}, {4, 0, 4}, {-4, 0, 4}}, 0x00FFFF);
    const RgbaImage nets = Draw(FrameOf(store, false));
    const RgbaImage smooth = Draw(FrameOf(store, true));
    const testing::ScreenPoint centre =
        testing::Project(FrameOf(store, true).camera, kWidth, kHeight, {0, 0, 0});
    const testing::Pixel shade =
        testing::PixelAt(smooth, static_cast<int>(centre.x), static_cast<int>(centre.y));
    EXPECT_NE(shade, testing::kBackground);
    EXPECT_TRUE(testing::Near(
        shade, testing::PixelAt(nets, static_cast<int>(centre.x), static_cast<int>(centre.y)), 2));
    const testing::ImageDifference difference = testing::CompareImages(smooth, nets);
    EXPECT_EQ(difference.differingPixels, 0);
}

// A sphere drawn smooth looks like the nets but for the shading round the poles, lit from the
// same side; each kind is compiled once into a list of its own, so that switching between them
// draws the same frames again.
TEST_F(SmoothSurfacesViewTest, SmoothSurfacesHaveTheirOwnList) {
    ObjectStore store;
    PatchObject& sphere = *store.AddObject();
    testing::BuildGenerated(modelgen::MakeSphere(24, 16), sphere);
    sphere.colour = 0x6080C0;
    ConnectCurves(sphere, 150.0f, nullptr);
    ComputeHandles(sphere);
    DetectPatches(sphere);
    SceneFrame frame = FrameOf(store, false);
    frame.camera.eye = Vec3{0.0f, 1200.0f, -1400.0f};
    const RgbaImage nets = Draw(frame);
    frame.display.smoothSurfaces = true;
    const RgbaImage smooth = Draw(frame);
    const testing::ImageDifference difference = testing::CompareImages(smooth, nets);
    EXPECT_LE(difference.differingFraction, testing::kMaxDifferingFraction);
    EXPECT_NE(smooth.pixels, nets.pixels);
    const std::uint64_t compiled = cache_.CompileCount();
    frame.display.smoothSurfaces = false;
    EXPECT_EQ(Draw(frame).pixels, nets.pixels);
    frame.display.smoothSurfaces = true;
    EXPECT_EQ(Draw(frame).pixels, smooth.pixels);
    EXPECT_EQ(cache_.CompileCount(), compiled);
}

}  // namespace
}  // namespace korvane
