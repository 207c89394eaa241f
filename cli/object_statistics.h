#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geometry/object_list.h"
#include "patch/patch_object.h"

namespace korvane::cli {

struct ObjectStatistics {
    std::string name;          // raw bytes
    std::uint32_t colour = 0;  // 0x00BBGGRR, red in the low byte
    std::int64_t controlPoints = 0;
    std::int64_t splines = 0;
    std::int64_t closedSplines = 0;
    std::int64_t nodes = 0;
    std::int64_t triPatches = 0;
    std::int64_t quadPatches = 0;
};

struct DocumentStatistics {
    std::vector<ObjectStatistics> objects;
    ObjectStatistics totals;  // name and colour unused
};

// Counts every object; detects the patches of objects whose patches are not current.
DocumentStatistics CountDocument(const ObjectList<PatchObject>& objects);

std::string FormatStatisticsText(const DocumentStatistics& statistics,
                                 const std::vector<std::string>& messages);
std::string FormatStatisticsJson(const DocumentStatistics& statistics,
                                 const std::vector<std::string>& messages);

}  // namespace korvane::cli
