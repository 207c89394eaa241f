#include "view/object_drawers.h"

#include <GL/gl.h>

#include <array>
#include <vector>

#include "patch/bezier_net.h"
#include "patch/patch_builder.h"
#include "view/colour.h"
#include "view/curve_sampling.h"

namespace korvane {
namespace {

void EvaluateNet(const BezierNet& net, int steps) {
    glMap2f(GL_MAP2_VERTEX_3, 0.0f, 1.0f, 3, 4, 0.0f, 1.0f, 12, 4, net.values.data());
    glEvalMesh2(GL_FILL, 0, steps, 0, steps);
}

void DrawPatch(const Patch& patch, int quadSteps) {
    if (patch.cornerCount == 4) {
        BezierNet net;
        QuadNet(patch, net);
        glMapGrid2f(quadSteps, 0.0f, 1.0f, quadSteps, 0.0f, 1.0f);
        EvaluateNet(net, quadSteps);
    } else if (patch.cornerCount == 3) {
        std::array<BezierNet, 3> nets;
        TriangleNets(patch, nets);
        const int steps = quadSteps / 2;
        glMapGrid2f(steps, 0.0f, 1.0f, steps, 0.0f, 1.0f);
        for (const BezierNet& net : nets) {
            EvaluateNet(net, steps);
        }
    }
}

}  // namespace

void DrawControlPoints(const PatchObject& object) {
    glDisable(GL_LIGHTING);
    glPointSize(4.0f);
    const Rgb c = ColourToRgb(object.colour);
    glColor3f(c.red, c.green, c.blue);
    glBegin(GL_POINTS);
    for (const ControlPoint* point : object.controlPoints) {
        glVertex3f(point->x, point->y, point->z);
    }
    glEnd();
    glPointSize(1.0f);
}

void DrawCurves(const PatchObject& object, int curveResolution) {
    glDisable(GL_LIGHTING);
    const Rgb c = ColourToRgb(object.colour);
    glColor3f(c.red, c.green, c.blue);
    const CurveWeightTable weights = MakeCurveWeightTable(curveResolution);
    std::vector<Vec3> strip;
    for (const Spline* spline : object.splines) {
        strip.clear();
        SampleSpline(*spline, weights, strip);
        glBegin(GL_LINE_STRIP);
        for (const Vec3& v : strip) {
            glVertex3f(v.x, v.y, v.z);
        }
        glEnd();
    }
}

void DrawSurfaces(PatchObject& object, int surfaceResolution) {
    if (!object.patchesValid) {
        DetectPatches(object);
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
    // The evaluator's quads wind clockwise for u along +x and v along +y.
    glFrontFace(GL_CW);
    for (const Patch* patch : object.patches) {
        DrawPatch(*patch, quadSteps);
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDisable(GL_LIGHTING);
}

}  // namespace korvane
