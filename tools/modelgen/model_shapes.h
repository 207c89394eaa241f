#pragma once

#include <cstdint>

#include "tools/modelgen/generated_model.h"

// Deterministic test models of any size. Every coordinate is rounded to four decimals, as a
// modeller writes them, so that the text and binary files of one model read back identically.

namespace korvane::modelgen {

// width x height quads on a gently waved sheet.
GeneratedModel MakeGrid(std::int32_t width, std::int32_t height);

// around x along quads; both counts at least 3.
GeneratedModel MakeTorus(std::int32_t around, std::int32_t along);

// around segments and bands rings of latitude: a triangle fan at each pole, quads between.
// around >= 3, bands >= 2.
GeneratedModel MakeSphere(std::int32_t around, std::int32_t bands);

// count triangles around one centre vertex, on a gently waved disc.
GeneratedModel MakeFan(std::int32_t count);

// A vase profile of `lines` lines in the XY plane, set to be lathed around Y in `segments` steps.
GeneratedModel MakeLatheProfile(std::int32_t lines, std::int32_t segments);

// The half of a bumpy sheet of width x height quads that a connected mirror completes: the
// vertices of the first column (and, for axis Y, the first row) lie exactly on the mirror plane.
// axes: bit 0 mirrors across X, bit 1 across Y.
GeneratedModel MakeMirrorHalf(std::int32_t width, std::int32_t height, std::int32_t axes);

// A noisy sheet of width x height cells, each cut into two triangles along a random diagonal,
// with about one cell in twenty left out as a hole; the same seed gives the same model.
GeneratedModel MakeTriangleSoup(std::int32_t width, std::int32_t height, std::uint64_t seed);

}  // namespace korvane::modelgen
