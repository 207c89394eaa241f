#pragma once

#include <cstdint>

namespace korvane {

// What the drawers show; a fresh document shows curves only.
class DisplaySettings {
  public:
    DisplaySettings() = default;
    DisplaySettings(const DisplaySettings&) = default;
    DisplaySettings& operator=(const DisplaySettings&) = default;
    virtual ~DisplaySettings() = default;

    bool showVertices = false;
    bool showCurves = true;
    bool showSurfaces = false;
    bool smoothSurfaces = false;         // patches that meet with a common tangent plane
    std::int32_t curveResolution = 1;    // a segment is sampled at 2 x this + 1 points
    std::int32_t surfaceResolution = 1;  // a quad is evaluated on a grid of 2 x this steps
    std::int32_t selectedObject = -1;    // its points and curves in the highlight colour; -1: none
};

}  // namespace korvane
