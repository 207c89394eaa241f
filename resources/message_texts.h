#pragma once

// The texts of the messages that the shell shows for the readers and the writer, UTF-8, in both
// languages.

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

// What an import left out although the file was read; each line takes one number (%1), except
// the one for a file that ended early. The caption goes with all of them.
struct ImportWarningTexts {
    const char* droppedFaces;
    const char* lathesLeftOut;
    const char* truncated;
    const char* caption;
};

inline ImportWarningTexts ImportWarnings(bool english) {
    return english ? ImportWarningTexts{"%1 faces that name vertices the object does not have "
                                        "were left out.",
                                        "%1 objects were kept without their lathe, which would "
                                        "not fit in memory.",
                                        "The file ends early; what came before the end was read.",
                                        "Warning"}
                   : ImportWarningTexts{"存在しない頂点を使う面を%1個読み飛ばしました。",
                                        "回転体がメモリに収まらないため、%1個のオブジェクトを"
                                        "回転させずに読み込みました。",
                                        "ファイルが途中で終わっています。終わりまでの分を"
                                        "読み込みました。",
                                        "警告"};
}

// The export could not create or write the file: %1 is the file, %2 the system's reason.
inline MessageText ExportFailedMessage(bool english) {
    return english ? MessageText{"Could not write %1.\n%2", "Error"}
                   : MessageText{"%1 に書き込めませんでした。\n%2", "エラー"};
}

}  // namespace korvane
