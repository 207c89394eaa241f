#pragma once

// The texts of the messages that the shell shows for the readers, UTF-8, in both languages.

namespace korvane {

struct MessageText {
    const char* text;
    const char* caption;
};

// Shown in both languages.
inline constexpr MessageText kNoDocumentMessage = {"読み込みに失敗しました", "エラー"};

inline MessageText CannotOpenMessage(bool english) {
    return english ? MessageText{"Fail To Read This File", "Error"}
                   : MessageText{"ファイルを開けませんでした", "エラー"};
}

inline MessageText NotMetasequoiaMessage(bool english) {
    return english ? MessageText{"This file isn't mqo file", "error"}
                   : MessageText{"これはメタセコイアのファイルではありません", "エラー"};
}

inline MessageText NotLightWaveMessage(bool english) {
    return english ? MessageText{"This File is not LightWave File", "Error"}
                   : MessageText{"これはLightWaveのファイルではありません", "エラー"};
}

}  // namespace korvane
