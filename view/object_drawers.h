#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "patch/patch_object.h"
#include "view/draw_cache.h"
#include "view/draw_chunks.h"

// The ways an object is drawn, in its own colour (0x00BBGGRR, each byte / 255). Each runs
// inside an open frame: context current, camera and lights set, depth test on, lighting off. The
// state is set on every call; the geometry comes from the cache.

namespace korvane {

// The points and curves of the selected object: pure yellow, which no axis uses, drawn larger.
inline constexpr std::uint32_t kHighlightColour = 0x00FFFF;

// Which chunks of an object's points or curves a draw covers: [first, end) of chunks, the
// caller's cut of the object (PointChunks, CurveChunks) at chunkSize.
struct ChunkSelection {
    std::span<const DrawChunk> chunks;
    std::size_t chunkSize = 0;
    std::size_t first = 0;
    std::size_t end = SIZE_MAX;
};

// Every control point as a 4-pixel dot; a selected object's as 6-pixel dots in the highlight
// colour.
void DrawControlPoints(const PatchObject& object, bool selected, DrawCache& cache,
                       const ChunkSelection& selection);

// Every spline as a line strip sampled at 2 x curveResolution + 1 points per segment; a selected
// object's 2 pixels wide in the highlight colour.
void DrawCurves(const PatchObject& object, int curveResolution, bool selected, DrawCache& cache,
                const ChunkSelection& selection);

// Every 3- and 4-corner patch as a lit, two-sided Bezier surface, pushed back by a polygon offset
// so that curves on it stay visible; as much of them as selection says. Draws nothing while the
// patches are out of date: finding them belongs to whoever changed the splines.
void DrawSurfaces(const PatchObject& object, int surfaceResolution,
                  const SurfaceSelection& selection, DrawCache& cache);

// The same patches as the smooth surfaces of TessellateSmoothSurfaces, which meet with a common
// tangent plane wherever the curves allow: lit triangles with the surfaces' own normals, on the
// same grids and in the same state as DrawSurfaces.
void DrawSmoothSurfaces(const PatchObject& object, int surfaceResolution,
                        const SurfaceSelection& selection, DrawCache& cache);

}  // namespace korvane
