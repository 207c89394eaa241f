#pragma once

// Menu texts of the two resource sets, UTF-8: 128 Japanese, 131 English. The Japanese set keeps
// the half-width katakana of the original resources.

namespace korvane {

struct MenuTexts {
    const char* filePopup;
    const char* newDocument;
    const char* importPopup;
    const char* importMetasequoia;
    const char* exportPopup;
    const char* exportRuvoPatch;
    const char* exitApplication;
    const char* editPopup;
    const char* connectCurve;
    const char* viewPopup;
    const char* toolbar;
    const char* setting;
    const char* document;
    const char* helpPopup;
    const char* versionInformation;
};

inline constexpr MenuTexts kJapaneseMenu = {"ﾌｧｲﾙ(&F)",
                                            "新規作成(&N)\tCtrl+N",
                                            "インポート",
                                            "メタセコイア(*.mqo)",
                                            "エクスポート",
                                            "ruvoPatch(*.rvp)",
                                            "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)",
                                            "編集(&E)",
                                            "カーブ同士を接続",
                                            "表示(&V)",
                                            "ﾂｰﾙ ﾊﾞｰ(&T)",
                                            "表示設定(&D)",
                                            "ドキュメント",
                                            "ﾍﾙﾌﾟ(&H)",
                                            "ﾊﾞｰｼﾞｮﾝ情報 (&A)..."};

inline constexpr MenuTexts kEnglishMenu = {"&File",
                                           "New Document",
                                           "Import",
                                           "Metasequoia(*.mqo)",
                                           "Export",
                                           "ruvoPatch(*.rvp)",
                                           "&Exit",
                                           "&Edit",
                                           "Connect Curve",
                                           "&View",
                                           "Toolbar",
                                           "Setting",
                                           "Document",
                                           "&Help",
                                           "Version Infomation"};

// Labels of the commands that no menu reaches; they stand only in a layout that no document uses.
inline constexpr const char* kImport3dStudioLabel = "3D Studio(*.3ds)";
inline constexpr const char* kImportLightWaveLabel = "LightWave(*.lwo)";
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
                                                    {57664, "version infomation"},
                                                    {59392, "Show / Hide Toolbar"}};

// The frame's title in both languages.
inline constexpr const char* kFrameTitle = "K_r_V";

}  // namespace korvane
