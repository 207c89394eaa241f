#pragma once

#include <cstdint>

#include "view/display_settings.h"

namespace korvane {

// What the Setting dialog edits: one resolution, 1 to 10, and the three visibility flags (0 or 1).
struct SettingValues {
    std::int32_t resolution = 1;
    std::int32_t showVertices = 0;
    std::int32_t showCurves = 0;
    std::int32_t showSurfaces = 0;
};

// The Setting command's preset: the curve resolution and the three flags.
SettingValues SettingValuesFrom(const DisplaySettings& settings);

// After OK: the three flags, and the one resolution for curves and surfaces both.
void ApplySettingValues(const SettingValues& values, DisplaySettings& settings);

}  // namespace korvane
