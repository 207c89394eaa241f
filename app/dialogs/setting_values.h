#pragma once

#include <cstdint>

#include "view/display_settings.h"

namespace korvane {

// What the Setting dialog edits: one resolution, 1 to 10, and the three visibility flags.
struct SettingValues {
    std::int32_t resolution = 1;
    bool showVertices = false;
    bool showCurves = false;
    bool showSurfaces = false;
};

// The Setting command's preset: the curve resolution and the three flags.
SettingValues SettingValuesFrom(const DisplaySettings& settings);

// After OK: the three flags, and the one resolution for curves and surfaces both.
void ApplySettingValues(const SettingValues& values, DisplaySettings& settings);

}  // namespace korvane
