#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geometry/object_list.h"
#include "patch/patch_object.h"

namespace korvane {

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
};

struct DocumentCounts {
    std::vector<ObjectCounts> objects;  // in document order
    ObjectCounts totals;                // name and colour unused
};

// Counts every object, its patches as they stand: the caller has them current
// (Document::Count does).
DocumentCounts CountObjects(const ObjectList<PatchObject>& objects);

}  // namespace korvane
