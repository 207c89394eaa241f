#pragma once

// Menu texts of the two resource sets, UTF-8: 128 Japanese, 131 English. The Japanese set keeps
// the half-width katakana of the original resources.

#include "resources/command_ids.h"

namespace korvane {

struct MenuTexts {
    const char* filePopup;
    const char* newDocument;
    const char* importPopup;
    const char* importMetasequoia;
    const char* importLightWave;
    const char* import3dStudio;
    const char* importOtherFormats;
    const char* exportPopup;
    const char* exportRuvoPatch;
    const char* exportAnimationMaster;
    const char* exportSPatch;
    const char* exportSurfaceMesh;
    const char* exportStep;
    const char* exportIges;
    const char* exitApplication;
    const char* editPopup;
    const char* connectCurve;
    const char* viewPopup;
    const char* toolbar;
    const char* showPoints;
    const char* showCurves;
    const char* showSurfaces;
    const char* smoothSurfaces;
    const char* frameAll;
    const char* setting;
    const char* document;
    const char* helpPopup;
    const char* versionInformation;
};

inline constexpr MenuTexts kJapaneseMenu = {
    .filePopup = "ﾌｧｲﾙ(&F)",
    .newDocument = "新規作成(&N)\tCtrl+N",
    .importPopup = "インポート",
    .importMetasequoia = "メタセコイア(*.mqo)",
    .importLightWave = "LightWave(*.lwo)",
    .import3dStudio = "3D Studio(*.3ds)",
    .importOtherFormats = "その他の形式...",
    .exportPopup = "エクスポート",
    .exportRuvoPatch = "ruvoPatch(*.rvp)",
    .exportAnimationMaster = "Animation Master(*.mdl)",
    .exportSPatch = "sPatch(*.spt)",
    .exportSurfaceMesh = "サーフェスメッシュ (OBJ, PLY, STL, glTF)",
    .exportStep = "STEP(*.step)",
    .exportIges = "IGES(*.igs)",
    .exitApplication = "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)",
    .editPopup = "編集(&E)",
    .connectCurve = "カーブ同士を接続",
    .viewPopup = "表示(&V)",
    .toolbar = "ﾂｰﾙ ﾊﾞｰ(&T)",
    .showPoints = "頂点(&P)",
    .showCurves = "カーブ(&C)",
    .showSurfaces = "サーフェス(&S)",
    .smoothSurfaces = "滑らかなサーフェス",
    .frameAll = "全体を表示(&A)",
    .setting = "表示設定(&D)",
    .document = "ドキュメント",
    .helpPopup = "ﾍﾙﾌﾟ(&H)",
    .versionInformation = "ﾊﾞｰｼﾞｮﾝ情報 (&A)...",
};

inline constexpr MenuTexts kEnglishMenu = {
    .filePopup = "&File",
    .newDocument = "New Document\tCtrl+N",
    .importPopup = "Import",
    .importMetasequoia = "Metasequoia(*.mqo)",
    .importLightWave = "LightWave(*.lwo)",
    .import3dStudio = "3D Studio(*.3ds)",
    .importOtherFormats = "Other formats...",
    .exportPopup = "Export",
    .exportRuvoPatch = "ruvoPatch(*.rvp)",
    .exportAnimationMaster = "Animation Master(*.mdl)",
    .exportSPatch = "sPatch(*.spt)",
    .exportSurfaceMesh = "Surface mesh (OBJ, PLY, STL, glTF)",
    .exportStep = "STEP (*.step)",
    .exportIges = "IGES (*.igs)",
    .exitApplication = "&Exit",
    .editPopup = "&Edit",
    .connectCurve = "Connect Curve",
    .viewPopup = "&View",
    .toolbar = "Toolbar",
    .showPoints = "&Points",
    .showCurves = "&Curves",
    .showSurfaces = "&Surfaces",
    .smoothSurfaces = "Smooth surfaces",
    .frameAll = "Frame &All",
    .setting = "Setting",
    .document = "Document",
    .helpPopup = "&Help",
    .versionInformation = "Version Information",
};

// One-line prompts of the string table, the same in both languages. They carry no tooltip part.
struct CommandPrompt {
    CommandId id;
    const char* text;
};

inline constexpr CommandPrompt kCommandPrompts[] = {
    {CommandId::kConnectCurve, "connect"},
    {CommandId::kShowVertices, "show/hide vertex"},
    {CommandId::kShowCurves, "show/hide curve"},
    {CommandId::kShowSurfaces, "show/hide surface"},
    {CommandId::kSettingButton, "setting"},
    {CommandId::kFileNew, "new document"},
    {CommandId::kAbout, "version information"},
    {CommandId::kToggleToolbar, "Show / Hide Toolbar"}};

// The names the toolbar's buttons show as tooltips.
struct CommandName {
    CommandId id;
    const char* english;
    const char* japanese;
};

inline constexpr CommandName kToolbarNames[] = {
    {CommandId::kFileNew, "New Document", "新規作成"},
    {CommandId::kImportMetasequoia, "Import Metasequoia", "メタセコイアをインポート"},
    {CommandId::kExportRuvoPatch, "Export ruvoPatch", "ruvoPatchをエクスポート"},
    {CommandId::kConnectCurve, "Connect Curve", "カーブ同士を接続"},
    {CommandId::kShowVertices, "Points", "頂点"},
    {CommandId::kShowCurves, "Curves", "カーブ"},
    {CommandId::kShowSurfaces, "Surfaces", "サーフェス"},
    {CommandId::kSettingButton, "Setting", "表示設定"},
    {CommandId::kRotateMode, "Rotate", "回転"},
    {CommandId::kMoveMode, "Move", "移動"},
    {CommandId::kZoomMode, "Zoom", "ズーム"},
    {CommandId::kFrameAll, "Frame All", "全体を表示"},
    {CommandId::kAbout, "Version Information", "バージョン情報"}};

}  // namespace korvane
