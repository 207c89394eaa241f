#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "geometry/object_list.h"
#include "patch/patch_object.h"

namespace korvane {

// Where the smooth surfaces cannot meet with a common tangent plane, because the curve network is
// not smooth there.
struct SmoothnessCounts {
    std::int64_t pointsOffPlane = 0;    // patch corners whose curve tangents lie in no one plane
    float worstResidualDegrees = 0.0f;  // the tangent furthest out of its point's best plane
    std::int64_t creaseSides = 0;  // patch sides kept as creases (a corner node, or sharp ends)
};

// What one object's network holds, or, in DocumentCounts::totals, all objects' together.
struct ObjectCounts {
    std::string name;          // raw bytes
    std::uint32_t colour = 0;  // 0x00BBGGRR, red in the low byte
    std::int64_t controlPoints = 0;
    std::int64_t splines = 0;
    std::int64_t closedSplines = 0;
    std::int64_t nodes = 0;
    std::int64_t triPatches = 0;
    std::int64_t quadPatches = 0;
    std::optional<SmoothnessCounts> smoothness{};  // when asked for
};

struct DocumentCounts {
    std::vector<ObjectCounts> objects;  // in document order
    ObjectCounts totals;                // name and colour unused
};

// Counts every object, its patches as they stand: the caller has them current
// (Document::Count does). With smoothness, also where the smooth surfaces cannot be smooth.
DocumentCounts CountObjects(const ObjectList<PatchObject>& objects, bool smoothness = false);

}  // namespace korvane
