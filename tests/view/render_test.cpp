#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "document/object_store.h"
#include "patch/patch_network_access.h"
#include "render_support.h"
#include "view/offscreen_renderer.h"

namespace korvane {
namespace {

using testing::AddLoop;
using testing::kBackground;
using testing::Near;
using testing::Pixel;
using testing::PixelAt;
using testing::Project;
using testing::ScreenPoint;

constexpr int kWidth = 160;
constexpr int kHeight = 120;
const Pixel kRed = {255, 0, 0};
const Pixel kGreen = {0, 255, 0};
const Pixel kBlue = {0, 0, 255};
const Pixel kWhite = {255, 255, 255};

OffscreenRenderOptions SmallFrame() {
    OffscreenRenderOptions options;
    options.width = kWidth;
    options.height = kHeight;
    return options;
}

RgbaImage Render(const ObjectStore& store, const OffscreenRenderOptions& options) {
    RgbaImage image;
    std::string error;
    EXPECT_TRUE(RenderOffscreen(store.objects, options, image, error)) << error;
    return image;
}

// True when a pixel of the colour lies within `radius` pixels of the point.
bool ColourNear(const RgbaImage& image, ScreenPoint at, const Pixel& colour, int radius = 1) {
    const int cx = static_cast<int>(at.x);
    const int cy = static_cast<int>(at.y);
    for (int y = cy - radius; y <= cy + radius; ++y) {
        for (int x = cx - radius; x <= cx + radius; ++x) {
            if (x >= 0 && y >= 0 && x < image.width && y < image.height &&
                Near(PixelAt(image, x, y), colour)) {
                return true;
            }
        }
    }
    return false;
}

int CountPixels(const RgbaImage& image, const Pixel& colour, int tolerance = 2) {
    int count = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            count += Near(PixelAt(image, x, y), colour, tolerance) ? 1 : 0;
        }
    }
    return count;
}

bool IsAxisColour(const Pixel& pixel) {
    return Near(pixel, kRed, 40) || Near(pixel, kGreen, 40) || Near(pixel, kBlue, 40);
}

TEST(RenderTest, EmptySceneShowsTheGreyBackgroundAndTheAxisCross) {
    const ObjectStore store;
    const RgbaImage image = Render(store, SmallFrame());
    ASSERT_EQ(image.width, kWidth);
    ASSERT_EQ(image.height, kHeight);
    for (const auto& [x, y] : {std::pair{0, 0}, {kWidth - 1, 0}, {0, kHeight - 1}, {20, 100}}) {
        EXPECT_EQ(PixelAt(image, x, y), kBackground) << x << ", " << y;
    }
    const Camera camera;
    EXPECT_TRUE(ColourNear(image, Project(camera, kWidth, kHeight, {2.5f, 0, 0}), kRed));
    EXPECT_TRUE(ColourNear(image, Project(camera, kWidth, kHeight, {0, 2.5f, 0}), kGreen));
    // +X runs to the right and +Y up on the screen.
    EXPECT_GT(Project(camera, kWidth, kHeight, {5, 0, 0}).x, kWidth / 2 + 5);
    EXPECT_LT(Project(camera, kWidth, kHeight, {0, 5, 0}).y, kHeight / 2 - 10);
    int other = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Pixel pixel = PixelAt(image, x, y);
            other += (pixel != kBackground && !IsAxisColour(pixel)) ? 1 : 0;
        }
    }
    EXPECT_EQ(other, 0);
}

TEST(RenderTest, BlueAxisPointsIntoTheScreen) {
    // From straight ahead the Z axis hides behind the Y axis; turned 60 degrees it shows.
    OffscreenRenderOptions options = SmallFrame();
    OrbitCamera(options.camera, 120, 0);
    const RgbaImage image = Render(ObjectStore(), options);
    const Camera& camera = options.camera;
    EXPECT_TRUE(ColourNear(image, Project(camera, kWidth, kHeight, {0, 0, 3.0f}), kBlue));
    EXPECT_TRUE(ColourNear(image, Project(camera, kWidth, kHeight, {3.0f, 0, 0}), kRed));
    EXPECT_TRUE(ColourNear(image, Project(camera, kWidth, kHeight, {0, 3.0f, 0}), kGreen));
    // Seen from the front left, the world stays left-handed: +X to the right, +Z to the left.
    EXPECT_LT(Project(camera, kWidth, kHeight, {0, 0, 5}).x, kWidth / 2 - 10);
    EXPECT_GT(Project(camera, kWidth, kHeight, {5, 0, 0}).x, kWidth / 2 + 5);
}

TEST(RenderTest, WhiteCurveLightsThePixelsItCrossesAndNothingElse) {
    ObjectStore store;
    PatchObject* object = store.AddObject();
    testing::NetworkBuilder build(*object);
    build.Point(-6, -3, 0);
    build.Point(6, -3, 0);
    build.Curve({0, 1});
    PatchNetworkAccess::SplineNodes(*object, 0).front().handleOut.Set(-2, -3, 0);
    PatchNetworkAccess::SplineNodes(*object, 0).back().handleIn.Set(2, -3, 0);
    const OffscreenRenderOptions options = SmallFrame();
    const RgbaImage image = Render(store, options);

    const ScreenPoint left = Project(options.camera, kWidth, kHeight, {-6, -3, 0});
    const ScreenPoint right = Project(options.camera, kWidth, kHeight, {6, -3, 0});
    for (float t = 0.05f; t < 1.0f; t += 0.05f) {
        const ScreenPoint on = {left.x + (right.x - left.x) * t, left.y + (right.y - left.y) * t};
        EXPECT_TRUE(ColourNear(image, on, kWhite)) << "t = " << t;
    }
    int white = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Pixel pixel = PixelAt(image, x, y);
            if (pixel == kBackground || IsAxisColour(pixel)) {
                continue;
            }
            EXPECT_EQ(pixel, kWhite) << x << ", " << y;
            EXPECT_NEAR(y + 0.5f, left.y, 1.5f) << x << ", " << y;
            EXPECT_GE(x + 1.0f, left.x);
            EXPECT_LE(x, right.x + 1.0f);
            ++white;
        }
    }
    EXPECT_GE(white, static_cast<int>(right.x - left.x) - 1);
}

TEST(RenderTest, VerticesAreFourPixelDotsInTheObjectColour) {
    ObjectStore store;
    PatchObject* object = store.AddObject();
    object->colour = 0xFF00FF;  // magenta
    testing::NetworkBuilder build(*object);
    build.Point(-5, -3, 0);
    build.Point(4, 3, 2);
    OffscreenRenderOptions options = SmallFrame();
    options.display.showVertices = true;
    options.display.showCurves = false;
    const RgbaImage image = Render(store, options);
    const Pixel magenta = {255, 0, 255};
    EXPECT_EQ(CountPixels(image, magenta, 0), 2 * 16);
    EXPECT_TRUE(ColourNear(image, Project(options.camera, kWidth, kHeight, {-5, -3, 0}), magenta));
    EXPECT_TRUE(ColourNear(image, Project(options.camera, kWidth, kHeight, {4, 3, 2}), magenta));
}

// A red square patch in the plane z = 0, facing the default camera.
void AddRedSquare(ObjectStore& store) {
    AddLoop(store, {{-4, -4, 0}, {4, -4, 0}, {4, 4, 0}, {-4, 4, 0}}, 0x0000FF);
}

void ExpectLitRed(const Pixel& pixel, const char* face) {
    EXPECT_GT(pixel[0], 140) << face << " face is dark: " << pixel[0];
    EXPECT_LT(pixel[1], pixel[0] / 2) << face;
    EXPECT_LT(pixel[2], pixel[0] / 2) << face;
}

TEST(RenderTest, SurfaceIsFilledAndLitOnBothFaces) {
    ObjectStore store;
    AddRedSquare(store);
    OffscreenRenderOptions options = SmallFrame();
    options.display.showSurfaces = true;
    options.display.showCurves = false;

    const RgbaImage front = Render(store, options);
    for (const Vec3& inside : {Vec3{-3, -3, 0}, Vec3{3, 3, 0}, Vec3{-2, 3, 0}, Vec3{1, -1, 0}}) {
        const ScreenPoint at = Project(options.camera, kWidth, kHeight, inside);
        ExpectLitRed(PixelAt(front, static_cast<int>(at.x), static_cast<int>(at.y)), "front");
    }
    const ScreenPoint outside = Project(options.camera, kWidth, kHeight, {-6, 0, 0});
    EXPECT_EQ(PixelAt(front, static_cast<int>(outside.x), static_cast<int>(outside.y)),
              kBackground);

    options.camera.eye = Vec3{0, 10, 40};  // behind the square
    const RgbaImage back = Render(store, options);
    const ScreenPoint centre = Project(options.camera, kWidth, kHeight, {1, 1, 0});
    ExpectLitRed(PixelAt(back, static_cast<int>(centre.x), static_cast<int>(centre.y)), "back");
}

TEST(RenderTest, PatchesOutOfDateAreNeitherDrawnNorFound) {
    ObjectStore store;
    AddRedSquare(store);
    PatchObject& square = *store.objects.GetHead();
    square.DeletePatches();
    OffscreenRenderOptions options = SmallFrame();
    options.display.showSurfaces = true;
    options.display.showCurves = false;
    const ScreenPoint centre = Project(options.camera, kWidth, kHeight, {-3, -3, 0});
    const auto centrePixel = [&](const RgbaImage& image) {
        return PixelAt(image, static_cast<int>(centre.x), static_cast<int>(centre.y));
    };

    EXPECT_EQ(centrePixel(Render(store, options)), kBackground);
    EXPECT_FALSE(square.PatchesValid()) << "drawing leaves the model alone";
    EXPECT_TRUE(square.Patches().empty());

    DetectPatches(square);
    ExpectLitRed(centrePixel(Render(store, options)), "detected");
}

TEST(RenderTest, TrianglePatchIsFilledAcrossItsThreeNets) {
    ObjectStore store;
    AddLoop(store, {{-5, -4, 0}, {5, -4, 0}, {0, 5, 0}}, 0x0000FF);
    OffscreenRenderOptions options = SmallFrame();
    options.display.showSurfaces = true;
    options.display.showCurves = false;
    options.display.surfaceResolution = 3;
    const RgbaImage image = Render(store, options);
    // Points inside the nets of corner 0, corner 1 and corner 2, away from the axis cross.
    for (const Vec3& inside :
         {Vec3{-3, -3, 0}, Vec3{3, -3, 0}, Vec3{0.5f, 3, 0}, Vec3{-1, -1, 0}}) {
        const ScreenPoint at = Project(options.camera, kWidth, kHeight, inside);
        ExpectLitRed(PixelAt(image, static_cast<int>(at.x), static_cast<int>(at.y)), "triangle");
    }
}

TEST(RenderTest, CurvesOnASurfaceStayInFront) {
    ObjectStore store;
    AddRedSquare(store);
    PatchObject* line = store.AddObject();
    testing::NetworkBuilder build(*line);
    build.Point(-3, 1, 0);
    build.Point(3, 1, 0);
    build.Curve({0, 1});
    PatchNetworkAccess::SplineNodes(*line, 0).front().handleOut.Set(-1, 1, 0);
    PatchNetworkAccess::SplineNodes(*line, 0).back().handleIn.Set(1, 1, 0);
    OffscreenRenderOptions options = SmallFrame();
    options.display.showSurfaces = true;
    const RgbaImage image = Render(store, options);
    for (float x = -2.5f; x <= 2.5f; x += 0.5f) {
        EXPECT_TRUE(ColourNear(image, Project(options.camera, kWidth, kHeight, {x, 1, 0}), kWhite))
            << "x = " << x;
    }
}

TEST(RenderTest, RendersToPngAndRefusesImpossibleSizes) {
    const ObjectStore store;
    const std::string path =
        (std::filesystem::temp_directory_path() / "korvane_render_test.png").string();
    std::string error;
    ASSERT_TRUE(RenderOffscreenPng(store.objects, SmallFrame(), path, error)) << error;
    RgbaImage written;
    ASSERT_TRUE(ReadPng(path, written, error)) << error;
    EXPECT_EQ(written.pixels, Render(store, SmallFrame()).pixels);
    std::remove(path.c_str());

    OffscreenRenderOptions empty = SmallFrame();
    empty.height = 0;
    RgbaImage image;
    EXPECT_FALSE(RenderOffscreen(store.objects, empty, image, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(RenderOffscreenPng(store.objects, SmallFrame(), "/nonexistent/dir/x.png", error));
}

}  // namespace
}  // namespace korvane
