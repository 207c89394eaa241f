#include "view/object_drawers.h"

#include <GL/gl.h>

#include <vector>

#include "view/colour.h"
#include "view/curve_sampling.h"

namespace korvane {
namespace {

void EmitControlPoints(const PatchObject& object) {
    glBegin(GL_POINTS);
    for (const PatchVec3& point : object.points) {
        glVertex3f(point.x, point.y, point.z);
    }
    glEnd();
}

void EmitCurves(const PatchObject& object, int curveResolution) {
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

void SetColour(const PatchObject& object, bool selected) {
    const Rgb c = ColourToRgb(selected ? kHighlightColour : object.colour);
    glColor3f(c.red, c.green, c.blue);
}

// Lit, two-sided, in the object's colour, pushed back by a polygon offset.
void BeginSurfaces(const PatchObject& object) {
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
}

void EndSurfaces() {
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDisable(GL_LIGHTING);
}

}  // namespace

// The colour and the sizes stay outside the cached lists, so that selecting compiles nothing.
void DrawControlPoints(const PatchObject& object, bool selected, DrawCache& cache) {
    glDisable(GL_LIGHTING);
    glPointSize(selected ? 6.0f : 4.0f);
    SetColour(object, selected);
    cache.Draw(object, DrawLayer::kControlPoints, 0, [&] { EmitControlPoints(object); });
    glPointSize(1.0f);
}

void DrawCurves(const PatchObject& object, int curveResolution, bool selected, DrawCache& cache) {
    glDisable(GL_LIGHTING);
    glLineWidth(selected ? 2.0f : 1.0f);
    SetColour(object, selected);
    const int resolution = curveResolution < 1 ? 1 : curveResolution;
    cache.Draw(object, DrawLayer::kCurves, resolution, [&] { EmitCurves(object, resolution); });
    glLineWidth(1.0f);
}

void DrawSurfaces(const PatchObject& object, int surfaceResolution,
                  const SurfaceSelection& selection, DrawCache& cache) {
    if (!object.patchesValid) {
        return;
    }
    BeginSurfaces(object);
    const int resolution = surfaceResolution < 1 ? 1 : surfaceResolution;
    // The strips wind clockwise for u along +x and v along +y.
    glFrontFace(GL_CW);
    cache.DrawSurfaces(object, DrawLayer::kSurfaces, resolution, selection);
    EndSurfaces();
}

void DrawSmoothSurfaces(const PatchObject& object, int surfaceResolution,
                        const SurfaceSelection& selection, DrawCache& cache) {
    if (!object.patchesValid) {
        return;
    }
    BeginSurfaces(object);
    const int resolution = surfaceResolution < 1 ? 1 : surfaceResolution;
    // The triangles wind counter-clockwise for u along +x and v along +y: the same side is in
    // front as for the nets' strips.
    glFrontFace(GL_CCW);
    cache.DrawSurfaces(object, DrawLayer::kSmoothSurfaces, resolution, selection);
    EndSurfaces();
}

}  // namespace korvane
