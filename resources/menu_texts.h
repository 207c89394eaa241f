#pragma once

// Menu texts of the two resource sets, UTF-8: 128 Japanese, 131 English.

namespace korvane {

struct MenuTexts {
    const char* filePopup;
    const char* newDocument;
    const char* importPopup;
    const char* importMetasequoia;
    const char* exitApplication;
};

inline constexpr MenuTexts kJapaneseMenu = {"ﾌｧｲﾙ(&F)", "新規作成(&N)\tCtrl+N", "インポート",
                                            "メタセコイア(*.mqo)", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"};
inline constexpr MenuTexts kEnglishMenu = {"&File", "New Document", "Import", "Metasequoia(*.mqo)",
                                           "&Exit"};

// The frame's title in both languages.
inline constexpr const char* kFrameTitle = "K_r_V";

}  // namespace korvane
