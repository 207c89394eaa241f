#include "view/scene_drawer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <vector>

#include "view/camera_framing.h"
#include "view/camera_navigation.h"
#include "view/colour.h"
#include "view/object_drawers.h"
#include "view/surface_mesh.h"

namespace korvane {
namespace {

constexpr float kAxisLength = 5.0f;

void ClearBackground(std::uint32_t colour) {
    const Rgb c = ColourToRgb(colour);
    glClearColor(c.red, c.green, c.blue, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void SetupLight(GLenum light, const GLfloat (&position)[4]) {
    const GLfloat ambient[] = {0.1f, 0.1f, 0.1f, 1.0f};
    const GLfloat diffuse[] = {0.6f, 0.6f, 0.6f, 1.0f};
    const GLfloat specular[] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightfv(light, GL_AMBIENT, ambient);
    glLightfv(light, GL_DIFFUSE, diffuse);
    glLightfv(light, GL_SPECULAR, specular);
    glLightfv(light, GL_POSITION, position);
    glLightf(light, GL_SPOT_CUTOFF, 180.0f);
    glEnable(light);
}

}  // namespace

void SetupCamera(const Camera& camera, int width, int height, const DepthRange& depth) {
    if (width <= 0 || height <= 0) {
        return;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(0, 0, width, height);
    const Vec3 up = UpVector(camera);
    gluPerspective(camera.fieldOfView, static_cast<double>(width) / static_cast<double>(height),
                   depth.nearPlane, depth.farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(camera.eye.x, camera.eye.y, -camera.eye.z, camera.target.x, camera.target.y,
              -camera.target.z, up.x, up.y, -up.z);
    glScalef(1.0f, 1.0f, -1.0f);
}

void SetupLights() {
    glLightModelf(GL_LIGHT_MODEL_TWO_SIDE, 1.0f);
    const GLfloat position0[4] = {100.0f, 100.0f, -100.0f, 1.0f};
    const GLfloat position1[4] = {-100.0f, -100.0f, 100.0f, 1.0f};
    SetupLight(GL_LIGHT0, position0);
    SetupLight(GL_LIGHT1, position1);
    glDisable(GL_LIGHTING);
}

void DrawAxisCross() {
    glDisable(GL_LIGHTING);
    glLineWidth(2.0f);
    glBegin(GL_LINES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(kAxisLength, 0.0f, 0.0f);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, kAxisLength, 0.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, kAxisLength);
    glEnd();
    glLineWidth(1.0f);
}

// An object's points and curves as the frame cuts them, each empty when not shown.
struct ObjectChunks {
    std::vector<DrawChunk> points;
    std::vector<DrawChunk> curves;
};

std::vector<ObjectChunks> ChunksOf(const SceneFrame& frame) {
    std::vector<ObjectChunks> chunks;
    if (frame.objects == nullptr) {
        return chunks;
    }
    for (const PatchObject* object : *frame.objects) {
        ObjectChunks& cut = chunks.emplace_back();
        if (frame.display.showVertices) {
            cut.points = PointChunks(*object, frame.partSize);
        }
        if (frame.display.showCurves) {
            cut.curves = CurveChunks(*object, frame.display.curveResolution, frame.partSize);
        }
    }
    return chunks;
}

// What one part of a frame covers, in units of work in drawing order: every object's control
// points and curve vertices, then every object's held surface triangles.
class FramePart {
  public:
    FramePart(const SceneFrame& frame, const std::vector<ObjectChunks>& chunks,
              const DrawCache& cache, DrawLayer layer)
        : frame_(frame) {
        std::size_t total = 0;
        if (frame.objects != nullptr && frame.partSize > 0 && !frame.moving) {
            for (const ObjectChunks& cut : chunks) {
                for (const std::vector<DrawChunk>* list : {&cut.points, &cut.curves}) {
                    for (const DrawChunk& chunk : *list) {
                        total += chunk.size;
                    }
                }
            }
            if (frame.display.showSurfaces) {
                for (const PatchObject* object : *frame.objects) {
                    total += cache.SurfaceTriangles(*object, layer);
                }
            }
        }
        parted_ = total > frame.partSize && frame.partSize > 0;
        first_ = parted_ ? frame.part * frame.partSize : 0;
        end_ = parted_ ? first_ + frame.partSize : SIZE_MAX;
        complete_ = !parted_ || end_ >= total;
    }

    bool Parted() const { return parted_; }
    bool Complete() const { return complete_; }
    bool First() const { return !parted_ || frame_.part == 0; }

    // The chunks starting within this part, of chunks that begin at unit `at`; moves at past them.
    ChunkSelection Chunks(const std::vector<DrawChunk>& chunks, std::size_t& at) const {
        ChunkSelection selection{
            .chunks = chunks, .chunkSize = frame_.partSize, .first = chunks.size(), .end = 0};
        for (std::size_t k = 0; k < chunks.size(); ++k) {
            if (at >= first_ && at < end_) {
                selection.first = std::min(selection.first, k);
                selection.end = k + 1;
            }
            at += chunks[k].size;
        }
        return selection;
    }

    // The triangles of this part, of an object's `triangles` that begin at unit `at`; moves at
    // past them.
    SurfaceSelection Surfaces(std::size_t triangles, std::size_t& at) const {
        SurfaceSelection selection;
        selection.heldOnly = parted_;
        if (parted_) {
            selection.firstTriangle = first_ > at ? first_ - at : 0;
            selection.endTriangle = end_ > at ? end_ - at : 0;
        }
        at += triangles;
        return selection;
    }

  private:
    const SceneFrame& frame_;
    bool parted_ = false;
    bool complete_ = true;
    std::size_t first_ = 0;
    std::size_t end_ = SIZE_MAX;
};

bool DrawFrame(const SceneFrame& frame, DrawCache& cache, ModelDrawObserver* observer) {
    const DisplaySettings& display = frame.display;
    const DrawLayer layer =
        display.smoothSurfaces ? DrawLayer::kSmoothSurfaces : DrawLayer::kSurfaces;
    const std::vector<ObjectChunks> chunks = ChunksOf(frame);
    const FramePart part(frame, chunks, cache, layer);
    if (part.First()) {
        ClearBackground(frame.backgroundColour);
    }
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    const Bounds model = frame.objects != nullptr ? ControlPointBounds(*frame.objects) : Bounds();
    SetupCamera(frame.camera, frame.width, frame.height, DepthRangeFor(frame.camera, model));
    SetupLights();
    if (part.First()) {
        DrawAxisCross();
    }
    cache.KeepOnly(frame.objects);
    if (observer != nullptr) {
        observer->BeforeModel();
    }
    if (frame.objects != nullptr) {
        // While the camera moves, an object too big to keep up shows its surfaces' stand-in alone.
        const auto standIn = [&](const PatchObject& object) {
            return frame.moving && display.showSurfaces &&
                   cache.SurfaceSamples(object, layer) > kMovingSurfaceSamples;
        };
        std::size_t at = 0;
        std::size_t index = 0;
        for (const PatchObject* object : *frame.objects) {
            const ObjectChunks& cut = chunks[index];
            const bool selected = static_cast<std::int32_t>(index++) == display.selectedObject;
            if (standIn(*object)) {
                continue;
            }
            if (display.showVertices) {
                DrawControlPoints(*object, selected, cache, part.Chunks(cut.points, at));
            }
            if (display.showCurves) {
                DrawCurves(*object, display.curveResolution, selected, cache,
                           part.Chunks(cut.curves, at));
            }
        }
        if (display.showSurfaces) {
            for (const PatchObject* object : *frame.objects) {
                SurfaceSelection selection =
                    part.Surfaces(cache.SurfaceTriangles(*object, layer), at);
                selection.standIn = standIn(*object);
                if (display.smoothSurfaces) {
                    DrawSmoothSurfaces(*object, display.surfaceResolution, selection, cache);
                } else {
                    DrawSurfaces(*object, display.surfaceResolution, selection, cache);
                }
            }
        }
    }
    if (observer != nullptr) {
        observer->AfterModel();
    }
    glFlush();
    return part.Complete();
}

}  // namespace korvane
