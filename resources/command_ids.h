#pragma once

// The commands of the menus, the toolbar and the accelerators, with the ids that the menu
// resources, the prompts and each action's objectName carry.

namespace korvane {

enum class CommandId : int {
    kImportMetasequoia = 32771,
    kExportRuvoPatch = 32772,
    kExportSPatch = 32773,
    kSetting = 32774,
    kConnectCurve = 32775,
    kImport3dStudio = 32776,
    kImportLightWave = 32777,
    kExportAnimationMaster = 32778,
    kShowVertices = 32779,
    kShowCurves = 32780,
    kShowSurfaces = 32781,
    kSettingButton = 32782,
    kDocumentInfo = 32783,
    kRotateMode = 32784,
    kMoveMode = 32785,
    kZoomMode = 32786,
    kFrameAll = 32787,
    kImportOtherFormats = 32788,
    kExportSurfaceMesh = 32789,
    kExportStep = 32790,
    kExportIges = 32791,
    kSmoothSurfaces = 32792,
    kFileNew = 57600,
    kAbout = 57664,
    kExit = 57665,
    kToggleToolbar = 59392,
};

}  // namespace korvane
