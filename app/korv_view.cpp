#include "app/korv_view.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QTimer>
#include <QWheelEvent>

#include <optional>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "view/camera_navigation.h"
#include "view/scene_drawer.h"

namespace korvane {
namespace {

// Control points, curve vertices and surface triangles drawn in one paint of a big still frame:
// about a tenth of a second in Mesa's software renderer.
constexpr std::size_t kPartSize = 300'000;
// Bytes of sampled surfaces handed to OpenGL in one event-loop turn: a few hundredths of a second.
constexpr std::size_t kUploadBytes = 32u << 20;

QSurfaceFormat CompatibilityFormat() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setDepthBufferSize(24);
    return format;
}

std::optional<MouseButton> ButtonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return MouseButton::kLeft;
        case Qt::MiddleButton:
            return MouseButton::kMiddle;
        case Qt::RightButton:
            return MouseButton::kRight;
        default:
            return std::nullopt;
    }
}

}  // namespace

CKorvView::CKorvView(CKorvDoc* document, QWidget* parent)
    : QOpenGLWidget(parent), document_(document) {
    setFormat(CompatibilityFormat());
    // While a conversion runs a paint draws nothing, and the last frame must stay on screen.
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    setMinimumSize(64, 64);
    cache_.SetSurfaceSource(SurfaceSource::kSmallOnDraw);
    connect(
        document_, &CKorvDoc::objectsChanging, this,
        [this] {
            builder_.Stop();
            uploads_.clear();
        },
        Qt::DirectConnection);
    connect(document_, &CKorvDoc::changed, this, [this] {
        builder_.Stop();
        uploads_.clear();
        declined_.clear();
        cacheStale_ = true;
        Redraw();
    });
    connect(document_, &CKorvDoc::displayChanged, this, [this] {
        declined_.clear();
        Redraw();
    });
    connect(&builder_, &SurfaceBuilder::Finished, this, &CKorvView::StoreBuiltSurfaces);
}

CKorvView::~CKorvView() {
    builder_.Stop();
    if (context() != nullptr) {
        disconnect(context(), nullptr, this, nullptr);
    }
    ReleaseCache();
}

void CKorvView::initializeGL() {
    // A widget moved to another window gets a new context; the old one takes its lists along.
    cache_.Abandon();
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &CKorvView::ReleaseCache,
            Qt::UniqueConnection);
}

void CKorvView::ReleaseCache() {
    if (cache_.ListCount() == 0) {
        return;
    }
    makeCurrent();
    cache_.Clear();
    doneCurrent();
}

void CKorvView::DrawScene() {
    const CKorvApp* app = GetApp();
    if (app != nullptr && app->converting.load()) {
        return;
    }
    if (cacheStale_) {
        cache_.Clear();
        cacheStale_ = false;
    }
    const qreal ratio = devicePixelRatio();
    SceneFrame frame;
    frame.objects = &document_->Objects();
    frame.display = document_->displaySettings;
    frame.camera = document_->camera;
    frame.backgroundColour = document_->backgroundColour;
    frame.width = static_cast<int>(width() * ratio);
    frame.height = static_cast<int>(height() * ratio);
    frame.moving = buttonsDown_ > 0;
    frame.partSize = kPartSize;
    frame.part = part_;
    if (DrawFrame(frame, cache_)) {
        part_ = 0;
    } else {
        // The next part once the events that came meanwhile have been handled.
        ++part_;
        QTimer::singleShot(0, this, [this] { update(); });
    }
    BuildMissingSurfaces();
}

void CKorvView::Redraw() {
    part_ = 0;
    update();
}

void CKorvView::resizeGL(int, int) {
    part_ = 0;
}

// The surfaces the frame left out are sampled on the builder's thread; a run for other surfaces
// (another resolution, other objects) gives way.
void CKorvView::BuildMissingSurfaces() {
    std::vector<SurfaceBuilder::Job> missing = cache_.TakeMissing();
    // Surfaces being handed to OpenGL are missing until the last piece.
    if (missing.empty() || missing == declined_ || !uploads_.empty() ||
        (builder_.IsRunning() && missing == builder_.Jobs())) {
        return;
    }
    builder_.Start(std::move(missing));
}

void CKorvView::StoreBuiltSurfaces(bool cancelled) {
    if (cancelled) {
        declined_ = builder_.Jobs();
        return;
    }
    uploads_ = builder_.TakeResults();
    UploadPiece();
}

// Hands the next piece of the sampled surfaces to OpenGL, then lets the events that came meanwhile
// be handled before the next.
void CKorvView::UploadPiece() {
    if (uploads_.empty()) {
        return;
    }
    makeCurrent();
    const SurfaceBuilder::Result& result = uploads_.front();
    const bool done = cache_.StoreSurfacesPiece(*result.job.object, result.job.layer,
                                                result.job.resolution, result.mesh, kUploadBytes);
    doneCurrent();
    if (done) {
        uploads_.erase(uploads_.begin());
    }
    if (uploads_.empty()) {
        Redraw();
    } else {
        QTimer::singleShot(0, this, &CKorvView::UploadPiece);
    }
}

void CKorvView::paintGL() {
    DrawScene();
}

void CKorvView::mousePressEvent(QMouseEvent* event) {
    if (const std::optional<MouseButton> button = ButtonOf(event->button())) {
        const QPoint point = event->position().toPoint();
        navigator_.ButtonDown(*button, point.x(), point.y());
        ++buttonsDown_;
    }
    QOpenGLWidget::mousePressEvent(event);
}

void CKorvView::mouseReleaseEvent(QMouseEvent* event) {
    if (const std::optional<MouseButton> button = ButtonOf(event->button())) {
        navigator_.ButtonUp(*button);
        // The full picture once the camera stands still.
        if (buttonsDown_ > 0 && --buttonsDown_ == 0) {
            Redraw();
        }
    }
    QOpenGLWidget::mouseReleaseEvent(event);
}

void CKorvView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const CKorvApp* app = GetApp();
    const NavigationMode mode = app != nullptr ? app->navigationMode : NavigationMode::kMove;
    const NavigationMove move = navigator_.Move(point.x(), point.y(), mode);
    if (move.step != NavigationStep::kNone) {
        ApplyNavigation(document_->camera, move, width(), height());
        Redraw();
    }
    QOpenGLWidget::mouseMoveEvent(event);
}

void CKorvView::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        QOpenGLWidget::wheelEvent(event);
        return;
    }
    WheelZoomCamera(document_->camera, delta);
    Redraw();
    event->accept();
}

}  // namespace korvane
