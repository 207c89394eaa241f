#include "view/object_drawers.h"

#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "view/colour.h"
#include "view/curve_sampling.h"

namespace korvane {
namespace {

void EmitControlPoints(const PatchObject& object, const DrawChunk& chunk) {
    glBegin(GL_POINTS);
    for (std::int32_t p = chunk.first; p < chunk.end; ++p) {
        const PatchVec3& point = object.Points()[static_cast<std::size_t>(p)];
        glVertex3f(point.x, point.y, point.z);
    }
    glEnd();
}

void EmitCurves(const PatchObject& object, int curveResolution, const DrawChunk& chunk) {
    const CurveWeightTable weights = MakeCurveWeightTable(curveResolution);
    std::vector<Vec3> strip;
    for (std::int32_t spline = chunk.first; spline < chunk.end; ++spline) {
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
void DrawControlPoints(const PatchObject& object, bool selected, DrawCache& cache,
                       const ChunkSelection& selection) {
    glDisable(GL_LIGHTING);
    glPointSize(selected ? 6.0f : 4.0f);
    SetColour(object, selected);
    const std::span<const DrawChunk> chunks = selection.chunks;
    for (std::size_t k = selection.first; k < std::min(selection.end, chunks.size()); ++k) {
        cache.Draw(object, DrawLayer::kControlPoints, 0, selection.chunkSize, chunks.size(), k,
                   [&] { EmitControlPoints(object, chunks[k]); });
    }
    glPointSize(1.0f);
}

void DrawCurves(const PatchObject& object, int curveResolution, bool selected, DrawCache& cache,
                const ChunkSelection& selection) {
    glDisable(GL_LIGHTING);
    glLineWidth(selected ? 2.0f : 1.0f);
    SetColour(object, selected);
    const int resolution = curveResolution < 1 ? 1 : curveResolution;
    const std::span<const DrawChunk> chunks = selection.chunks;
    for (std::size_t k = selection.first; k < std::min(selection.end, chunks.size()); ++k) {
        cache.Draw(object, DrawLayer::kCurves, resolution, selection.chunkSize, chunks.size(), k,
                   [&] { EmitCurves(object, resolution, chunks[k]); });
    }
    glLineWidth(1.0f);
}

void DrawSurfaces(const PatchObject& object, int surfaceResolution,
                  const SurfaceSelection& selection, DrawCache& cache) {
    if (!object.PatchesValid()) {
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
    if (!object.PatchesValid()) {
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
