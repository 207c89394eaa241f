#include "view/scene_drawer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

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

bool DrawFrame(const SceneFrame& frame, DrawCache& cache, ModelDrawObserver* observer) {
    const DisplaySettings& display = frame.display;
    const DrawLayer layer =
        display.smoothSurfaces ? DrawLayer::kSmoothSurfaces : DrawLayer::kSurfaces;
    // Only a frame whose surfaces are all held is parted: the parts must count the same
    // triangles.
    std::size_t heldTriangles = 0;
    bool allHeld = true;
    if (frame.objects != nullptr && display.showSurfaces && !frame.moving) {
        const int resolution = std::max(1, display.surfaceResolution);
        for (const PatchObject* object : *frame.objects) {
            heldTriangles += cache.SurfaceTriangles(*object, layer);
            allHeld = allHeld && (!object->patchesValid || object->patches.empty() ||
                                  cache.HoldsSurfaces(*object, layer, resolution));
        }
    }
    const bool parted = frame.partTriangles > 0 && allHeld && heldTriangles > frame.partTriangles;
    const bool first = !parted || frame.part == 0;
    if (first) {
        ClearBackground(frame.backgroundColour);
    }
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    const Bounds model = frame.objects != nullptr ? ControlPointBounds(*frame.objects) : Bounds();
    SetupCamera(frame.camera, frame.width, frame.height, DepthRangeFor(frame.camera, model));
    SetupLights();
    if (first) {
        DrawAxisCross();
    }
    cache.KeepOnly(frame.objects);
    if (observer != nullptr) {
        observer->BeforeModel();
    }
    bool complete = true;
    if (frame.objects != nullptr) {
        // While the camera moves, an object too big to keep up shows its surfaces' stand-in alone.
        const auto standIn = [&](const PatchObject& object) {
            return frame.moving && display.showSurfaces &&
                   cache.SurfaceSamples(object, layer) > kMovingSurfaceSamples;
        };
        std::int32_t index = 0;
        for (const PatchObject* object : *frame.objects) {
            const bool selected = index++ == display.selectedObject;
            if (!first || standIn(*object)) {
                continue;
            }
            if (display.showVertices) {
                DrawControlPoints(*object, selected, cache);
            }
            if (display.showCurves) {
                DrawCurves(*object, display.curveResolution, selected, cache);
            }
        }
        // The part's share of the triangles of all objects' surfaces, counted in drawing order.
        const std::size_t partFirst = parted ? (frame.part - 1) * frame.partTriangles : 0;
        const std::size_t partEnd = parted ? partFirst + frame.partTriangles : SIZE_MAX;
        if (display.showSurfaces && (!parted || frame.part > 0)) {
            std::size_t before = 0;
            for (const PatchObject* object : *frame.objects) {
                const std::size_t held = cache.SurfaceTriangles(*object, layer);
                SurfaceSelection selection;
                selection.standIn = standIn(*object);
                if (parted) {
                    selection.firstTriangle = partFirst > before ? partFirst - before : 0;
                    selection.endTriangle = partEnd > before ? partEnd - before : 0;
                }
                before += held;
                if (display.smoothSurfaces) {
                    DrawSmoothSurfaces(*object, display.surfaceResolution, selection, cache);
                } else {
                    DrawSurfaces(*object, display.surfaceResolution, selection, cache);
                }
            }
        }
        complete = !parted || partEnd >= heldTriangles;
    }
    if (observer != nullptr) {
        observer->AfterModel();
    }
    glFlush();
    return complete;
}

}  // namespace korvane
