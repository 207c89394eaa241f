#pragma once

// Menu texts of the two resource sets, UTF-8: 128 Japanese, 131 English. The Japanese set keeps
// the half-width katakana of the original resources.

namespace korvane {

struct MenuTexts {
    const char* filePopup;
    const char* newDocument;
    const char* importPopup;
    const char* importMetasequoia;
    const char* importLightWave;
    const char* exportPopup;
    const char* exportRuvoPatch;
    const char* exitApplication;
    const char* editPopup;
    const char* connectCurve;
    const char* viewPopup;
    const char* toolbar;
    const char* showPoints;
    const char* showCurves;
    const char* showSurfaces;
    const char* frameAll;
    const char* setting;
    const char* document;
    const char* helpPopup;
    const char* versionInformation;
};

inline constexpr MenuTexts kJapaneseMenu = {
    "ﾌｧｲﾙ(&F)",         "新規作成(&N)\tCtrl+N", "インポート",       "メタセコイア(*.mqo)",
    "LightWave(*.lwo)", "エクスポート",         "ruvoPatch(*.rvp)", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)",
    "編集(&E)",         "カーブ同士を接続",     "表示(&V)",         "ﾂｰﾙ ﾊﾞｰ(&T)",
    "頂点(&P)",         "カーブ(&C)",           "サーフェス(&S)",   "全体を表示(&A)",
    "表示設定(&D)",     "ドキュメント",         "ﾍﾙﾌﾟ(&H)",         "ﾊﾞｰｼﾞｮﾝ情報 (&A)..."};

inline constexpr MenuTexts kEnglishMenu = {"&File",
                                           "New Document",
                                           "Import",
                                           "Metasequoia(*.mqo)",
                                           "LightWave(*.lwo)",
                                           "Export",
                                           "ruvoPatch(*.rvp)",
                                           "&Exit",
                                           "&Edit",
                                           "Connect Curve",
                                           "&View",
                                           "Toolbar",
                                           "&Points",
                                           "&Curves",
                                           "&Surfaces",
                                           "Frame &All",
                                           "Setting",
                                           "Document",
                                           "&Help",
                                           "Version Information"};

// Labels of the commands that no menu reaches; they stand only in a layout that no document uses.
inline constexpr const char* kImport3dStudioLabel = "3D Studio(*.3ds)";
inline constexpr const char* kExportAnimationMasterLabel = "Animation Master(*.mdl)";
inline constexpr const char* kExportSPatchLabel = "sPatch(*.spt)";

// One-line prompts of the string table, the same in both languages. They carry no tooltip part.
struct CommandPrompt {
    int id;
    const char* text;
};

inline constexpr CommandPrompt kCommandPrompts[] = {{32775, "connect"},
                                                    {32779, "show/hide vertex"},
                                                    {32780, "show/hide curve"},
                                                    {32781, "show/hide surface"},
                                                    {32782, "setting"},
                                                    {57600, "new document"},
                                                    {57664, "version information"},
                                                    {59392, "Show / Hide Toolbar"}};

// The names the toolbar's buttons show as tooltips.
struct CommandName {
    int id;
    const char* english;
    const char* japanese;
};

inline constexpr CommandName kToolbarNames[] = {
    {57600, "New Document", "新規作成"},
    {32771, "Import Metasequoia", "メタセコイアをインポート"},
    {32772, "Export ruvoPatch", "ruvoPatchをエクスポート"},
    {32775, "Connect Curve", "カーブ同士を接続"},
    {32779, "Points", "頂点"},
    {32780, "Curves", "カーブ"},
    {32781, "Surfaces", "サーフェス"},
    {32782, "Setting", "表示設定"},
    {32784, "Rotate", "回転"},
    {32785, "Move", "移動"},
    {32786, "Zoom", "ズーム"},
    {32787, "Frame All", "全体を表示"},
    {57664, "Version Information", "バージョン情報"}};

}  // namespace korvane
