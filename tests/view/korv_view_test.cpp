#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/korv_view.h"
#include "document/object_store.h"
#include "export/rvp_writer.h"
#include "image_compare.h"
#include "patch/patch_builder.h"
#include "patch/patch_network_access.h"
#include "render_support.h"
#include "support/generated_network.h"
#include "tools/modelgen/model_shapes.h"
#include "view/offscreen_renderer.h"

namespace korvane {
namespace {

using testing::Pixel;

constexpr int kWidth = 200;
constexpr int kHeight = 150;

// A closed loop of curves round the corners, brought into the document as a file brings it.
PatchObject& ImportLoop(CKorvDoc& document, std::initializer_list<Vec3> corners,
                        std::uint32_t colour) {
    ObjectStore built;
    testing::AddLoop(built, corners, colour);
    const std::string path = ::testing::TempDir() + "korvane-view-loop.rvp";
    EXPECT_EQ(WriteRvpFile(path, built.objects).status, WriteStatus::kWritten);
    EXPECT_EQ(document.Import(path, {}).status, ImportStatus::kImported);
    return *document.Objects().GetTail();
}

RgbaImage ToRgba(const QImage& grabbed) {
    const QImage image = grabbed.convertToFormat(QImage::Format_RGBA8888);
    RgbaImage rgba;
    rgba.width = image.width();
    rgba.height = image.height();
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        rgba.pixels.insert(rgba.pixels.end(), row, row + 4 * image.width());
    }
    return rgba;
}

class KorvViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
            GTEST_SKIP() << "the OpenGL view needs an X display (run under xvfb-run)";
        }
        GetApp()->navigationMode = NavigationMode::kMove;
        GetApp()->converting = 0;
        // The window manager sizes top-level windows as it likes; the view inside keeps its size.
        window_ = std::make_unique<QWidget>();
        view_ = new CKorvView(&document_, window_.get());
        view_->setGeometry(0, 0, kWidth, kHeight);
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }

    void TearDown() override {
        if (GetApp() != nullptr) {
            GetApp()->converting = 0;
        }
    }

    RgbaImage Grab() {
        RgbaImage image = ToRgba(view_->grabFramebuffer());
        view_->doneCurrent();
        return image;
    }

    // The offscreen renderer's frame of the same document; it needs no other context current.
    RgbaImage Offscreen() {
        OffscreenRenderOptions options;
        options.width = kWidth;
        options.height = kHeight;
        options.camera = document_.camera;
        options.display = document_.displaySettings;
        RgbaImage image;
        std::string error;
        EXPECT_TRUE(RenderOffscreen(document_.Objects(), options, image, error)) << error;
        return image;
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), view_->mapToGlobal(QPointF(at)), button, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(view_, &event);
    }

    // Presses `button`, moves by (dx, dy) in one step and releases it.
    void Drag(Qt::MouseButton button, int dx, int dy) {
        const QPoint start(100, 75);
        Mouse(QEvent::MouseButtonPress, start, button, button);
        Mouse(QEvent::MouseMove, start + QPoint(dx, dy), Qt::NoButton, button);
        Mouse(QEvent::MouseButtonRelease, start + QPoint(dx, dy), button, Qt::NoButton);
    }

    CKorvDoc document_;
    std::unique_ptr<QWidget> window_;
    CKorvView* view_ = nullptr;
};

TEST_F(KorvViewTest, PaintsTheSameFrameAsTheOffscreenRenderer) {
    ImportLoop(document_, {{-4, -4, 0}, {4, -4, 0}, {4, 4, 0}, {-4, 4, 0}}, 0x0000FF);
    document_.displaySettings.showSurfaces = true;
    document_.displaySettings.showVertices = true;
    const RgbaImage shown = Grab();
    ASSERT_EQ(shown.width, kWidth);
    EXPECT_EQ(testing::PixelAt(shown, 0, 0), testing::kBackground);
    const testing::ScreenPoint centre =
        testing::Project(document_.camera, kWidth, kHeight, {0, -1, 0});
    const Pixel lit =
        testing::PixelAt(shown, static_cast<int>(centre.x), static_cast<int>(centre.y));
    EXPECT_GT(lit[0], 140);
    EXPECT_LT(lit[1], 70);

    const testing::ImageDifference difference = testing::CompareImages(shown, Offscreen());
    EXPECT_TRUE(difference.sameSize);
    EXPECT_LE(difference.differingFraction, testing::kMaxDifferingFraction)
        << difference.differingPixels << " pixels differ";
}

TEST_F(KorvViewTest, ADocumentChangeRedrawsObjectsChangedInPlace) {
    PatchObject& square =
        ImportLoop(document_, {{-4, -4, 0}, {4, -4, 0}, {4, 4, 0}, {-4, 4, 0}}, 0xFFFFFF);
    document_.displaySettings.showSurfaces = true;
    document_.UpdateAllViews();
    const RgbaImage before = Grab();
    ASSERT_GT(view_->Cache().ListCount(), 0u);
    // A move that changes no count: only the document's report tells the view.
    for (PatchVec3& point : PatchNetworkAccess::Points(square)) {
        point.x *= 0.5f;
    }
    ComputeHandles(square);
    document_.UpdateAllViews();
    const RgbaImage after = Grab();
    EXPECT_NE(after.pixels, before.pixels);
    EXPECT_LE(testing::CompareImages(after, Offscreen()).differingFraction,
              testing::kMaxDifferingFraction);

    // Orbiting replays the lists: a frame of the moved camera without compiling anything.
    const std::uint64_t compiled = view_->Cache().CompileCount();
    Drag(Qt::RightButton, 30, 0);
    const RgbaImage orbited = Grab();
    EXPECT_EQ(view_->Cache().CompileCount(), compiled);
    EXPECT_LE(testing::CompareImages(orbited, Offscreen()).differingFraction,
              testing::kMaxDifferingFraction);

    // A new document's objects may reuse the old addresses; its report drops the old lists.
    document_.OnNewDocument();
    document_.UpdateAllViews();
    Grab();
    EXPECT_EQ(view_->Cache().ListCount(), 0u);
}

TEST_F(KorvViewTest, WhileConvertingNoNewFrameButDragsMoveTheCamera) {
    const RgbaImage before = Grab();
    GetApp()->converting = 1;
    Drag(Qt::RightButton, 40, 0);
    EXPECT_NE(document_.camera.eye.x, 0.0f) << "the drag still orbits";
    EXPECT_EQ(Grab().pixels, before.pixels) << "the paint drew nothing new";

    GetApp()->converting = 0;
    const RgbaImage after = Grab();
    EXPECT_NE(after.pixels, before.pixels);
    EXPECT_LE(testing::CompareImages(after, Offscreen()).differingFraction,
              testing::kMaxDifferingFraction)
        << "the first paint after the conversion shows the moved camera";
}

TEST_F(KorvViewTest, ButtonsNavigate) {
    const Camera start;
    Drag(Qt::RightButton, 20, 0);  // orbit: the target stays, the distance too
    EXPECT_EQ(document_.camera.target.x, 0.0f);
    EXPECT_NE(document_.camera.eye.x, start.eye.x);
    EXPECT_NEAR(Length(document_.camera.eye), Length(start.eye), 1e-3f);

    document_.ResetCamera();
    Drag(Qt::MiddleButton, 20, 0);  // pan: eye and target move together
    EXPECT_LT(document_.camera.target.x, 0.0f);
    EXPECT_NEAR(document_.camera.eye.x, document_.camera.target.x, 1e-5f);

    for (const auto& [mode, expectPan, expectDistance] :
         {std::tuple{NavigationMode::kMove, true, 1.0f},
          std::tuple{NavigationMode::kZoom, false, 1.2f},
          std::tuple{NavigationMode::kRotate, false, 1.0f}}) {
        document_.ResetCamera();
        GetApp()->navigationMode = mode;
        Drag(Qt::LeftButton, 0, -40);  // mouse up 40 pixels
        const Camera& camera = document_.camera;
        EXPECT_EQ(camera.target.y != 0.0f, expectPan) << "mode " << static_cast<int>(mode);
        EXPECT_NEAR(Length(Subtract(camera.eye, camera.target)) / Length(start.eye), expectDistance,
                    1e-3f)
            << "mode " << static_cast<int>(mode);
        EXPECT_NE(camera.eye.y, start.eye.y) << "mode " << static_cast<int>(mode);
    }
}

TEST_F(KorvViewTest, LeftDuringRightDragZooms) {
    GetApp()->navigationMode = NavigationMode::kRotate;
    const QPoint start(100, 75);
    Mouse(QEvent::MouseButtonPress, start, Qt::RightButton, Qt::RightButton);
    Mouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::RightButton | Qt::LeftButton);
    Mouse(QEvent::MouseMove, start + QPoint(0, 20), Qt::NoButton,
          Qt::RightButton | Qt::LeftButton);  // down 20: factor 0.9
    EXPECT_NEAR(document_.camera.eye.z, -36.0f, 1e-3f);
    EXPECT_EQ(document_.camera.eye.x, 0.0f);
    Mouse(QEvent::MouseButtonRelease, start + QPoint(0, 20), Qt::LeftButton, Qt::RightButton);
    Mouse(QEvent::MouseMove, start + QPoint(10, 20), Qt::NoButton, Qt::RightButton);
    EXPECT_NE(document_.camera.eye.x, 0.0f) << "the right drag orbits again";
    Mouse(QEvent::MouseButtonRelease, start + QPoint(10, 20), Qt::RightButton, Qt::NoButton);
}

// Surfaces too big to sample within a frame come from the builder: the first frame goes without
// them and starts it, the frame after its end shows them as the offscreen renderer draws them.
// Cancel leaves them out until the display changes; a change of the objects drops a run.
TEST_F(KorvViewTest, BigSurfacesAreSampledBehindTheViewAndCancelLeavesThemOut) {
    ObjectStore built;
    PatchObject& torus = *built.AddObject();
    testing::BuildGenerated(modelgen::MakeTorus(200, 200), torus);
    torus.colour = 0x40C080;
    const std::string path = ::testing::TempDir() + "korvane-view-torus.rvp";
    ASSERT_EQ(WriteRvpFile(path, built.objects).status, WriteStatus::kWritten);
    ASSERT_EQ(document_.Import(path, {}).status, ImportStatus::kImported);
    document_.camera.eye = Vec3{0.0f, 600.0f, -1100.0f};
    document_.displaySettings.showSurfaces = true;
    // So many curves would hide the surfaces.
    document_.displaySettings.showCurves = false;
    document_.UpdateAllViews();

    SurfaceBuilder& builder = view_->Builder();
    QSignalSpy finished(&builder, &SurfaceBuilder::Finished);
    const RgbaImage without = Grab();
    ASSERT_TRUE(builder.IsRunning());
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_FALSE(finished.takeFirst().at(0).toBool());
    // So many triangles are drawn a part a paint; the parts end as the whole frame.
    RgbaImage with = Grab();
    int paints = 1;
    for (; !view_->FrameComplete() && paints < 100; ++paints) {
        with = Grab();
    }
    EXPECT_GT(paints, 1);
    EXPECT_TRUE(with.pixels != without.pixels);
    EXPECT_LE(testing::CompareImages(with, Offscreen()).differingFraction,
              testing::kMaxDifferingFraction);

    document_.displaySettings.surfaceResolution = 2;
    document_.UpdateDisplay();
    Grab();
    ASSERT_TRUE(builder.IsRunning());
    builder.Cancel();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(finished.takeFirst().at(0).toBool());
    Grab();
    EXPECT_FALSE(builder.IsRunning()) << "a cancelled sampling is not started again";
    document_.UpdateDisplay();
    Grab();
    EXPECT_TRUE(builder.IsRunning());
    QSignalSpy stopped(&builder, &SurfaceBuilder::Stopped);
    document_.OnNewDocument();
    EXPECT_EQ(stopped.count(), 1);
    EXPECT_FALSE(builder.IsRunning());
}

}  // namespace
}  // namespace korvane
