#include "evaluator_frame.h"

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <vector>

#include "patch/bezier_net.h"
#include "view/colour.h"
#include "view/curve_sampling.h"

namespace korvane::testing {
namespace {

void SetColour(const PatchObject& object) {
    const Rgb c = ColourToRgb(object.colour);
    glColor3f(c.red, c.green, c.blue);
}

void DrawPoints(const PatchObject& object) {
    glDisable(GL_LIGHTING);
    glPointSize(4.0f);
    SetColour(object);
    glBegin(GL_POINTS);
    for (const PatchVec3& point : object.Points()) {
        glVertex3f(point.x, point.y, point.z);
    }
    glEnd();
    glPointSize(1.0f);
}

void DrawCurves(const PatchObject& object, int curveResolution) {
    glDisable(GL_LIGHTING);
    SetColour(object);
    const CurveWeightTable weights = MakeCurveWeightTable(curveResolution);
    std::vector<Vec3> strip;
    for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
        strip.clear();
        SampleSpline(object, spline, weights, strip);
        glBegin(GL_LINE_STRIP);
        for (const Vec3& v : strip) {
            glVertex3f(v.x, v.y, v.z);
        }
        glEnd();
    }
}

void EvaluateNet(const BezierNet& net, int steps) {
    glMapGrid2f(steps, 0.0f, 1.0f, steps, 0.0f, 1.0f);
    glMap2f(GL_MAP2_VERTEX_3, 0.0f, 1.0f, 3, 4, 0.0f, 1.0f, 12, 4, net.values.data());
    glEvalMesh2(GL_FILL, 0, steps, 0, steps);
}

void DrawSurfaces(const PatchObject& object, int surfaceResolution) {
    if (!object.PatchesValid()) {
        return;
    }
    const Rgb c = ColourToRgb(object.colour);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 1.0f);
    const GLfloat ambientDiffuse[] = {c.red, c.green, c.blue, 1.0f};
    const GLfloat specular[] = {0.5f, 0.5f, 0.5f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, ambientDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 50.0f);
    glEnable(GL_LIGHTING);
    glColor3f(c.red, c.green, c.blue);
    const int quadSteps = 2 * (surfaceResolution < 1 ? 1 : surfaceResolution);
    glEnable(GL_MAP2_VERTEX_3);
    glEnable(GL_AUTO_NORMAL);
    glFrontFace(GL_CW);
    BezierNet net;
    std::array<BezierNet, 3> nets;
    for (const Patch& patch : object.Patches()) {
        if (patch.cornerCount == 4) {
            QuadNet(object, patch, net);
            EvaluateNet(net, quadSteps);
        } else if (patch.cornerCount == 3) {
            TriangleNets(object, patch, nets);
            for (const BezierNet& piece : nets) {
                EvaluateNet(piece, quadSteps / 2);
            }
        }
    }
    glDisable(GL_MAP2_VERTEX_3);
    glDisable(GL_AUTO_NORMAL);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDisable(GL_LIGHTING);
}

}  // namespace

void DrawEvaluatorFrame(const SceneFrame& frame) {
    const Rgb background = ColourToRgb(frame.backgroundColour);
    glClearColor(background.red, background.green, background.blue, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    SetupCamera(frame.camera, frame.width, frame.height);
    SetupLights();
    DrawAxisCross();
    if (frame.objects == nullptr) {
        return;
    }
    const DisplaySettings& display = frame.display;
    for (const PatchObject* object : *frame.objects) {
        if (display.showVertices) {
            DrawPoints(*object);
        }
        if (display.showCurves) {
            DrawCurves(*object, display.curveResolution);
        }
    }
    if (display.showSurfaces) {
        for (const PatchObject* object : *frame.objects) {
            DrawSurfaces(*object, display.surfaceResolution);
        }
    }
    glFlush();
}

}  // namespace korvane::testing
