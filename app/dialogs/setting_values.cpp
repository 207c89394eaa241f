#include "app/dialogs/setting_values.h"

namespace korvane {

SettingValues SettingValuesFrom(const DisplaySettings& settings) {
    return SettingValues{settings.curveResolution, settings.showVertices, settings.showCurves,
                         settings.showSurfaces};
}

void ApplySettingValues(const SettingValues& values, DisplaySettings& settings) {
    settings.showVertices = values.showVertices;
    settings.showCurves = values.showCurves;
    settings.showSurfaces = values.showSurfaces;
    settings.curveResolution = values.resolution;
    settings.surfaceResolution = values.resolution;
}

}  // namespace korvane
