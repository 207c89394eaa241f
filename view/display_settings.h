#pragma once

#include <cstdint>

namespace korvane {

// What the drawers show. Flags are 0 or 1; a fresh document shows curves only.
class DisplaySettings {
  public:
    DisplaySettings() = default;
    DisplaySettings(const DisplaySettings&) = default;
    DisplaySettings& operator=(const DisplaySettings&) = default;
    virtual ~DisplaySettings() = default;

    std::int32_t showVertices = 0;
    std::int32_t showCurves = 1;
    std::int32_t showSurfaces = 0;
    std::int32_t curveResolution = 1;    // a segment is sampled at 2 x this + 1 points
    std::int32_t surfaceResolution = 1;  // a quad is evaluated on a grid of 2 x this steps
};

}  // namespace korvane
