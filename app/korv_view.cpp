#include "app/korv_view.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QWheelEvent>

#include <optional>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "view/camera_navigation.h"
#include "view/scene_drawer.h"

namespace korvane {
namespace {

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
    connect(document_, &CKorvDoc::changed, this, [this] {
        cacheStale_ = true;
        update();
    });
}

CKorvView::~CKorvView() {
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
    DrawFrame(frame, cache_);
}

void CKorvView::paintGL() {
    DrawScene();
}

void CKorvView::mousePressEvent(QMouseEvent* event) {
    if (const std::optional<MouseButton> button = ButtonOf(event->button())) {
        const QPoint point = event->position().toPoint();
        navigator_.ButtonDown(*button, point.x(), point.y());
    }
    QOpenGLWidget::mousePressEvent(event);
}

void CKorvView::mouseReleaseEvent(QMouseEvent* event) {
    if (const std::optional<MouseButton> button = ButtonOf(event->button())) {
        navigator_.ButtonUp(*button);
    }
    QOpenGLWidget::mouseReleaseEvent(event);
}

void CKorvView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const CKorvApp* app = GetApp();
    const NavigationMode mode = app != nullptr ? app->navigationMode : kNavigateMove;
    const NavigationMove move = navigator_.Move(point.x(), point.y(), mode);
    if (move.step != NavigationStep::kNone) {
        ApplyNavigation(document_->camera, move, width(), height());
        update();
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
    update();
    event->accept();
}

}  // namespace korvane
