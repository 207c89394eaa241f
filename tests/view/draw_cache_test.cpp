#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "document/object_store.h"
#include "evaluator_frame.h"
#include "image_compare.h"
#include "import/metasequoia_reader.h"
#include "patch/curve_connector.h"
#include "patch/patch_builder.h"
#include "patch/patch_network_access.h"
#include "render_support.h"
#include "support/generated_network.h"
#include "tools/modelgen/model_shapes.h"
#include "view/offscreen_canvas.h"
#include "view/scene_drawer.h"

namespace korvane {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

SceneFrame FrameOf(const ObjectStore& store, bool surfaces) {
    SceneFrame frame;
    frame.objects = &store.objects;
    frame.display.showVertices = true;
    frame.display.showCurves = true;
    frame.display.showSurfaces = surfaces;
    frame.width = kWidth;
    frame.height = kHeight;
    OrbitCamera(frame.camera, -50, -15);
    return frame;
}

bool LoadConnected(const std::string& name, ObjectStore& store) {
    const std::string path = std::string(KORVANE_CORPUS_DIR) + "/mqo/" + name;
    if (!std::filesystem::exists(path) ||
        ImportMetasequoia(path, store).status != ImportStatus::kImported) {
        return false;
    }
    for (PatchObject* object : store.objects) {
        ConnectCurves(*object, 150.0f, [](std::int32_t) {});
        ComputeHandles(*object);
        DetectPatches(*object);
    }
    return true;
}

// A square of four curves in the y = 0 plane and a triangle standing on it.
void AddSmallScene(ObjectStore& store) {
    testing::AddLoop(store, {{-4, 0, -4}, {4, 0, -4}, {4, 0, 4}, {-4, 0, 4}}, 0x00FFFF);
    testing::AddLoop(store, {{-3, 0, 0}, {3, 0, 0}, {0, 5, 1}}, 0xFF8040);
}

class DrawCacheTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(canvas_.Open(kWidth, kHeight, error)) << error;
    }
    void TearDown() override { cache_.Clear(); }

    RgbaImage Cached(const SceneFrame& frame) {
        DrawFrame(frame, cache_);
        RgbaImage image;
        canvas_.Read(image);
        return image;
    }
    RgbaImage Evaluated(const SceneFrame& frame) {
        testing::DrawEvaluatorFrame(frame);
        RgbaImage image;
        canvas_.Read(image);
        return image;
    }
    void ExpectSamePicture(const RgbaImage& actual, const RgbaImage& expected) {
        const testing::ImageDifference difference = testing::CompareImages(actual, expected);
        EXPECT_TRUE(difference.sameSize);
        EXPECT_LE(difference.differingFraction, testing::kMaxDifferingFraction)
            << difference.differingPixels << " pixels differ";
    }

    OffscreenCanvas canvas_;
    DrawCache cache_;
};

TEST_F(DrawCacheTest, CachedFramesLookLikeTheEvaluatorsOnCorpusModels) {
    for (const char* name : {"Golem.mqo", "star.mqo", "medaka.mqo"}) {
        SCOPED_TRACE(name);
        ObjectStore store;
        if (!LoadConnected(name, store)) {
            GTEST_SKIP() << "corpus model " << name << " is not here";
        }
        for (bool surfaces : {false, true}) {
            for (int resolution : {1, 3}) {
                SceneFrame frame = FrameOf(store, surfaces);
                frame.display.curveResolution = resolution;
                frame.display.surfaceResolution = resolution;
                const RgbaImage expected = Evaluated(frame);
                const RgbaImage first = Cached(frame);
                ExpectSamePicture(first, expected);
                // The replayed lists draw exactly what the first frame drew.
                const RgbaImage replayed = Cached(frame);
                EXPECT_EQ(replayed.pixels, first.pixels);
            }
        }
    }
}

TEST_F(DrawCacheTest, LitSurfacesFaceTheSameWayAsTheEvaluators) {
    ObjectStore store;
    AddSmallScene(store);
    const SceneFrame frame = FrameOf(store, true);
    const RgbaImage expected = Evaluated(frame);
    const RgbaImage actual = Cached(frame);
    // Both lit from above: the square's centre shows the same shade, not the back face's.
    const testing::ScreenPoint centre = testing::Project(frame.camera, kWidth, kHeight, {0, 0, -3});
    const int x = static_cast<int>(centre.x);
    const int y = static_cast<int>(centre.y);
    EXPECT_NE(testing::PixelAt(expected, x, y), testing::kBackground);
    EXPECT_TRUE(testing::Near(testing::PixelAt(actual, x, y), testing::PixelAt(expected, x, y), 4));
    ExpectSamePicture(actual, expected);
}

TEST_F(DrawCacheTest, ListsAreCompiledOnceAndRebuiltOnlyWhenSomethingChanges) {
    ObjectStore store;
    AddSmallScene(store);
    SceneFrame frame = FrameOf(store, true);
    Cached(frame);
    EXPECT_EQ(cache_.ListCount(), 6u);  // points, curves and surfaces of two objects
    EXPECT_EQ(cache_.CompileCount(), 6u);

    for (int orbit = 0; orbit < 5; ++orbit) {
        OrbitCamera(frame.camera, 7, 3);
        Cached(frame);
    }
    EXPECT_EQ(cache_.CompileCount(), 6u);

    frame.display.curveResolution = 4;
    Cached(frame);
    EXPECT_EQ(cache_.CompileCount(), 8u);  // both objects' curves

    frame.display.surfaceResolution = 2;
    Cached(frame);
    EXPECT_EQ(cache_.CompileCount(), 10u);

    // Hiding a layer keeps its lists for when it is shown again.
    frame.display.showSurfaces = false;
    Cached(frame);
    frame.display.showSurfaces = true;
    Cached(frame);
    EXPECT_EQ(cache_.CompileCount(), 10u);
    EXPECT_EQ(cache_.ListCount(), 6u);
}

TEST_F(DrawCacheTest, AnObjectThatChangesShapeIsDrawnAnew) {
    ObjectStore store;
    PatchObject* square =
        testing::AddLoop(store, {{-4, 0, -4}, {4, 0, -4}, {4, 0, 4}, {-4, 0, 4}}, 0xFFFFFF);
    SceneFrame frame = FrameOf(store, true);
    const RgbaImage before = Cached(frame);
    // Joining the four curves into one closed spline changes the spline count: the next frame
    // must not replay the old lists.
    square->DeletePatches();
    ConnectCurves(*square, 80.0f, [](std::int32_t) {});
    ComputeHandles(*square);
    DetectPatches(*square);
    ASSERT_EQ(square->SplineCount(), 1);
    const std::uint64_t compiled = cache_.CompileCount();
    const RgbaImage after = Cached(frame);
    EXPECT_GT(cache_.CompileCount(), compiled);
    ExpectSamePicture(after, Evaluated(frame));
    EXPECT_NE(after.pixels, before.pixels);
}

TEST_F(DrawCacheTest, ListsOfRemovedObjectsAreDeleted) {
    ObjectStore store;
    AddSmallScene(store);
    SceneFrame frame = FrameOf(store, false);
    Cached(frame);
    EXPECT_EQ(cache_.ListCount(), 4u);
    store.DeleteObjectsAfter(store.objects.GetCount() - 1);
    const RgbaImage image = Cached(frame);
    EXPECT_EQ(cache_.ListCount(), 2u);
    ExpectSamePicture(image, Evaluated(frame));

    frame.objects = nullptr;
    Cached(frame);
    EXPECT_EQ(cache_.ListCount(), 0u);
}

TEST_F(DrawCacheTest, ClearMakesEveryListAgain) {
    ObjectStore store;
    AddSmallScene(store);
    const SceneFrame frame = FrameOf(store, true);
    const RgbaImage first = Cached(frame);
    // Moving a control point changes no count; the owner of the objects clears the cache.
    PatchNetworkAccess::Points(*store.objects.GetHead()).front().y = 3.0f;
    ComputeHandles(*store.objects.GetHead());
    cache_.Clear();
    EXPECT_EQ(cache_.ListCount(), 0u);
    const RgbaImage moved = Cached(frame);
    EXPECT_EQ(cache_.CompileCount(), 12u);
    EXPECT_NE(moved.pixels, first.pixels);
    ExpectSamePicture(moved, Evaluated(frame));
}

// A still frame drawn a part a call, with points, curves and either kind of surface of two
// objects that the parts cut anywhere, ends as the frame drawn at once, pixel for pixel; its first
// part has no surfaces yet.
TEST_F(DrawCacheTest, AFrameDrawnInPartsIsTheFrameDrawnAtOnce) {
    ObjectStore store;
    for (const auto& [shape, colour] : {std::pair{modelgen::MakeSphere(16, 10), 0x6080C0u},
                                        std::pair{modelgen::MakeTorus(12, 8), 0x40C080u}}) {
        PatchObject& object = *store.AddObject();
        testing::BuildGenerated(shape, object);
        object.colour = colour;
        DetectPatches(object);
    }
    const struct {
        const char* name;
        bool surfaces;
        bool smooth;
        bool vertices;
        std::size_t partSize;
    } cases[] = {{"nets", true, false, false, 1000},
                 {"smooth", true, true, false, 1000},
                 {"points, curves and nets", true, false, true, 300},
                 {"curves alone", false, false, false, 200},
                 {"points and curves", false, false, true, 150}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cache_.Clear();
        SceneFrame frame = FrameOf(store, c.surfaces);
        frame.camera.eye = Vec3{0.0f, 900.0f, -1300.0f};
        frame.display.smoothSurfaces = c.smooth;
        frame.display.showVertices = c.vertices;
        frame.display.surfaceResolution = 2;
        frame.display.curveResolution = 2;
        const RgbaImage atOnce = Cached(frame);
        frame.partSize = c.partSize;
        std::size_t parts = 0;
        RgbaImage last;
        for (frame.part = 0; parts < 100; ++frame.part) {
            ++parts;
            const bool complete = DrawFrame(frame, cache_);
            canvas_.Read(last);
            if (complete) {
                break;
            }
            if (frame.part == 0) {
                EXPECT_TRUE(last.pixels != atOnce.pixels) << "the first part is not the frame";
            }
        }
        EXPECT_GT(parts, 3u);
        EXPECT_LT(parts, 100u);
        EXPECT_TRUE(last.pixels == atOnce.pixels);
        EXPECT_TRUE(cache_.TakeMissing().empty()) << "the surfaces were held";
    }
}

// While the camera moves, an object past kMovingSurfaceSamples shows only its surfaces'
// stand-in, which covers about what the surfaces cover; a small object is drawn as when still.
TEST_F(DrawCacheTest, WhileMovingABigObjectShowsItsStandInAlone) {
    ObjectStore store;
    PatchObject& big = *store.AddObject();
    testing::BuildGenerated(modelgen::MakeTorus(400, 300), big);
    DetectPatches(big);
    testing::AddLoop(store, {{-4, 0, -4}, {4, 0, -4}, {4, 0, 4}, {-4, 0, 4}}, 0x00FFFF);
    SceneFrame frame = FrameOf(store, true);
    frame.camera.eye = Vec3{0.0f, 600.0f, -1100.0f};
    const RgbaImage still = Cached(frame);
    ASSERT_GT(cache_.SurfaceSamples(big, DrawLayer::kSurfaces), kMovingSurfaceSamples);
    frame.moving = true;
    const RgbaImage moving = Cached(frame);
    EXPECT_TRUE(moving.pixels != still.pixels) << "the curves on the torus are gone";
    // The stand-in covers the torus where the surfaces do, but for its outline.
    int covered = 0;
    int uncovered = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool before = testing::PixelAt(still, x, y) != testing::kBackground;
            const bool now = testing::PixelAt(moving, x, y) != testing::kBackground;
            covered += before ? 1 : 0;
            uncovered += before != now ? 1 : 0;
        }
    }
    EXPECT_GT(covered, kWidth * kHeight / 10);
    EXPECT_LT(uncovered, covered / 10);

    // The small square alone is the same either way.
    ObjectStore small;
    testing::AddLoop(small, {{-4, 0, -4}, {4, 0, -4}, {4, 0, 4}, {-4, 0, 4}}, 0x00FFFF);
    SceneFrame smallFrame = FrameOf(small, true);
    const RgbaImage smallStill = Cached(smallFrame);
    smallFrame.moving = true;
    EXPECT_EQ(Cached(smallFrame).pixels, smallStill.pixels);
}

}  // namespace
}  // namespace korvane
