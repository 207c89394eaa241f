#pragma once

#include <QIcon>

namespace korvane {

// The toolbar's button images, drawn as vectors on a 16 x 16 grid so that they stay sharp at any
// size and pixel density.
enum class ToolbarImage {
    kNew,
    kImport,
    kExport,
    kConnect,
    kVertices,
    kCurves,
    kSurfaces,
    kSetting,
    kRotate,
    kMove,
    kZoom,
    kFrameAll,
    kAbout
};

QIcon ToolbarIcon(ToolbarImage image);

}  // namespace korvane
