#pragma once

#include "view/scene_drawer.h"

namespace korvane::testing {

// The frame drawn the direct way, every object in immediate mode and every patch through
// OpenGL's own Bezier evaluator with automatic normals, without any cache: what the cached
// drawing must look like. Objects whose patches are out of date show no surfaces.
void DrawEvaluatorFrame(const SceneFrame& frame);

}  // namespace korvane::testing
