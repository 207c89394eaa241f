#pragma once

#include <QOpenGLWidget>

#include <vector>

#include "app/surface_builder.h"
#include "view/draw_cache.h"
#include "view/mouse_navigator.h"

namespace korvane {

class CKorvDoc;

// The 3D view of the document: draws one whole frame on every paint and turns mouse drags into
// camera moves. The objects' geometry is kept in display lists and vertex buffers between paints
// and made again after the document reports a change of the objects, not of what is shown.
// Surfaces too big to sample within a frame are sampled by the surface builder while the view goes
// on drawing the rest; while a button drags the camera, surfaces too big to keep up are drawn
// as a stand-in, and in full once it is let go: a big still frame a part a paint, so that the
// events between the parts are handled. The right button orbits, the middle button pans, the left
// button does what the application's navigationMode says, the left button during a right drag
// zooms, and the wheel moves the eye towards the target or away from it.
class CKorvView : public QOpenGLWidget {
    Q_OBJECT

  public:
    explicit CKorvView(CKorvDoc* document, QWidget* parent = nullptr);
    ~CKorvView() override;

    // The frame, or nothing at all while a conversion owns the objects: the previous frame stays.
    void DrawScene();

    const DrawCache& Cache() const { return cache_; }
    SurfaceBuilder& Builder() { return builder_; }
    // Whether the last paint finished its frame rather than drawing one part of it.
    bool FrameComplete() const { return part_ == 0; }

  protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    CKorvDoc* document_;
    void ReleaseCache();
    void BuildMissingSurfaces();
    // A new frame from its first part.
    void Redraw();
    void StoreBuiltSurfaces(bool cancelled);
    void UploadPiece();

    MouseNavigator navigator_;
    DrawCache cache_;
    bool cacheStale_ = false;
    SurfaceBuilder builder_;
    // The surfaces whose sampling the user cancelled: not started again until something changes.
    std::vector<SurfaceBuilder::Job> declined_;
    int buttonsDown_ = 0;
    std::size_t part_ = 0;  // of a big still frame drawn a part a paint
    // Sampled surfaces still to be handed to OpenGL, a piece an event-loop turn.
    std::vector<SurfaceBuilder::Result> uploads_;
};

}  // namespace korvane
