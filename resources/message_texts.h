#pragma once

// The texts of the messages that the shell shows for the readers and the writer, UTF-8, in both
// languages.

#include "import/import_status.h"

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

// A folder, a pipe, a device or a socket chosen as a model: %1 is the path.
inline MessageText NotRegularFileMessage(bool english) {
    return english ? MessageText{"%1 is not a regular file (it is a folder, a device, a pipe or a "
                                 "socket) and was not read.",
                                 "Error"}
                   : MessageText{"%1 は通常のファイルではない(フォルダ、デバイス、パイプ、"
                                 "ソケットのいずれか)ため、読み込みませんでした。",
                                 "エラー"};
}

inline MessageText NotMetasequoiaMessage(bool english) {
    return english ? MessageText{"This file isn't mqo file", "error"}
                   : MessageText{"これはメタセコイアのファイルではありません", "エラー"};
}

// A compressed Metasequoia file (.mqoz, a zip archive) whose model could not be unpacked.
inline MessageText ArchiveWithoutModelMessage(bool english) {
    return english ? MessageText{"This compressed file holds no mqo file", "Error"}
                   : MessageText{"この圧縮ファイルにはメタセコイアのファイル(mqo)がありません",
                                 "エラー"};
}

inline MessageText DamagedArchiveMessage(bool english) {
    return english ? MessageText{"This compressed file is damaged or cannot be unpacked", "Error"}
                   : MessageText{"圧縮ファイルが壊れているか、展開できない形式です", "エラー"};
}

inline MessageText ArchiveTooLargeMessage(bool english) {
    return english
               ? MessageText{"The mqo file in this compressed file is too large to unpack", "Error"}
               : MessageText{"圧縮ファイルの中のmqoファイルが大きすぎるため展開できません",
                             "エラー"};
}

inline MessageText ArchiveTooManyMembersMessage(bool english) {
    return english ? MessageText{"This compressed file holds more than 65536 files; it is not a "
                                 "model's compressed file and was not read",
                                 "Error"}
                   : MessageText{"この圧縮ファイルには65536個を超えるファイルが入っています。"
                                 "モデルの圧縮ファイルではないため、読み込みませんでした",
                                 "エラー"};
}

inline MessageText NotLightWaveMessage(bool english) {
    return english ? MessageText{"This File is not LightWave File", "Error"}
                   : MessageText{"これはLightWaveのファイルではありません", "エラー"};
}

// A ruvoPatch file that is cut short or refers to what is not there: %1 is the file, %2 what is
// wrong and where.
inline MessageText DamagedRuvoPatchMessage(bool english) {
    return english
               ? MessageText{"%1 is not a readable ruvoPatch file. Nothing was added.\n%2", "Error"}
               : MessageText{
                     "%1 はruvoPatchファイルとして読み込めません。何も追加していません。"
                     "\n%2",
                     "エラー"};
}

// What an import left out although the file was read; each line takes one number (%1), except
// the one for a file that ended early, the one for side files, whose %1 names them, and the one
// for a compressed file of several .mqo files, which also takes the name of the one read (%2).
// The caption goes with all of them.
struct ImportWarningTexts {
    const char* droppedFaces;
    const char* lathesLeftOut;
    const char* mirrorsLeftOut;
    const char* truncated;
    const char* outlineFaces;
    const char* vertexBlocksMismatched;
    const char* sideFilesRefused;
    const char* otherArchiveModels;
    const char* caption;
};

// English says one thing in the singular; Japanese counts alike.
inline ImportWarningTexts ImportWarnings(bool english, int count) {
    if (english && count == 1) {
        return ImportWarningTexts{
            "%1 face that names vertices the object does not have was left "
            "out.",
            "%1 object was kept without its lathe, which would not fit in "
            "memory.",
            "%1 object was kept without its mirror, whose mode is not 0, 1 "
            "or 2.",
            "The file ends early; what came before the end was read.",
            "%1 face with more than four corners was kept as an outline "
            "without patches",
            "%1 binary vertex block holds another number of vertices than "
            "it declares; only the whole vertices that both allow were "
            "read.",
            "Files that the model names were not read, and the model was "
            "imported without them:\n%1",
            "The compressed file holds %1 mqo files; only %2 was read.",
            "Warning"};
    }
    return english ? ImportWarningTexts{"%1 faces that name vertices the object does not have "
                                        "were left out.",
                                        "%1 objects were kept without their lathe, which would "
                                        "not fit in memory.",
                                        "%1 objects were kept without their mirror, whose mode is "
                                        "not 0, 1 or 2.",
                                        "The file ends early; what came before the end was read.",
                                        "%1 faces with more than four corners were kept as "
                                        "outlines without patches",
                                        "%1 binary vertex blocks hold another number of vertices "
                                        "than they declare; only the whole vertices that both "
                                        "allow were read.",
                                        "Files that the model names were not read, and the model "
                                        "was imported without them:\n%1",
                                        "The compressed file holds %1 mqo files; only %2 was "
                                        "read.",
                                        "Warning"}
                   : ImportWarningTexts{"存在しない頂点を使う面を%1個読み飛ばしました。",
                                        "回転体がメモリに収まらないため、%1個のオブジェクトを"
                                        "回転させずに読み込みました。",
                                        "ミラーの種類が0、1、2のどれでもないため、%1個の"
                                        "オブジェクトをミラーせずに読み込みました。",
                                        "ファイルが途中で終わっています。終わりまでの分を"
                                        "読み込みました。",
                                        "5角以上の面%1個を、パッチなしの輪郭線として"
                                        "読み込みました",
                                        "バイナリ頂点ブロック%1個の頂点数とバイト数が"
                                        "食い違っています。両方に収まる頂点だけを読み込みました。",
                                        "モデルが参照する次のファイルは読み込まず、それらを"
                                        "除いてモデルを読み込みました:\n%1",
                                        "圧縮ファイルにmqoファイルが%1個あります。%2 だけを"
                                        "読み込みました。",
                                        "警告"};
}

// The export could not create or write the file: %1 is the file, %2 the system's reason.
inline MessageText ExportFailedMessage(bool english) {
    return english ? MessageText{"Could not write %1.\n%2", "Error"}
                   : MessageText{"%1 に書き込めませんでした。\n%2", "エラー"};
}

// An export that wrote nothing because no object holds what the format writes.
inline MessageText NothingToExportMessage(bool english, bool emptyDocument, bool patches) {
    if (emptyDocument) {
        return english ? MessageText{"There is nothing to write: the document is empty.", "Error"}
                       : MessageText{"書き出すものがありません。ドキュメントは空です。", "エラー"};
    }
    if (patches) {
        return english ? MessageText{"There is nothing to write: no object has a patch.", "Error"}
                       : MessageText{
                             "書き出すものがありません。パッチのあるオブジェクトが"
                             "ありません。",
                             "エラー"};
    }
    return english ? MessageText{"There is nothing to write: no object has a curve.", "Error"}
                   : MessageText{"書き出すものがありません。カーブのあるオブジェクトがありません。",
                                 "エラー"};
}

// The export's file (%1) is one that the document was imported from.
inline MessageText ExportWouldReplaceSourceMessage(bool english) {
    return english ? MessageText{"%1 is a file that this document was imported from; it was not "
                                 "replaced. Choose another name.",
                                 "Error"}
                   : MessageText{"%1 はこのドキュメントの読み込み元のファイルなので、上書き"
                                 "しませんでした。別の名前を指定してください。",
                                 "エラー"};
}

// What a CAD export left out of its file: the objects without patches (%1, their names), and the
// patches with two corners at one place (%1, their number).
inline const char* ObjectsLeftOutWarning(bool english) {
    return english ? "Objects without patches were left out: %1"
                   : "パッチのないオブジェクトは書き出しませんでした: %1";
}
inline const char* PatchesLeftOutWarning(bool english, long long patches) {
    if (!english) {
        return "2つの角が同じ位置にあるパッチ%1個は書き出しませんでした。";
    }
    return patches == 1 ? "%1 patch with two corners at one place was left out."
                        : "%1 patches with two corners at one place were left out.";
}

// New or Exit would throw away curves connected since the last export.
inline MessageText DiscardChangesQuestion(bool english) {
    return english ? MessageText{"The curves connected since the last export have not been "
                                 "exported.\nDiscard them?",
                                 "Korvane"}
                   : MessageText{"前回のエクスポート以降に接続したカーブは、まだエクスポートされて"
                                 "いません。\n破棄しますか？",
                                 "Korvane"};
}

// The status text after an export: %1 is the number of objects, %2 the file.
inline const char* ExportWrittenStatus(bool english, int objects) {
    if (!english) {
        return "%1個のオブジェクトを %2 に書き出しました";
    }
    return objects == 1 ? "Wrote %1 object to %2" : "Wrote %1 objects to %2";
}

// The button beside the progress bar that stops Connect Curve, and the status text once it has.
inline const char* CancelConversionLabel(bool english) {
    return english ? "Cancel" : "キャンセル";
}
inline const char* ConversionCancelledStatus(bool english) {
    return english ? "Cancelled" : "キャンセルしました";
}

// The status text while Connect Curve finds the patches over an object's joined curves: %1 is
// the object, %2 of %3 steps are done.
inline const char* PatchSearchStatus(bool english) {
    return english ? "Finding patches: %1 %2 / %3" : "パッチ検出: %1 %2 / %3";
}

// The status text while the view samples big surfaces: %1 patches of %2 done.
inline const char* SurfacesProgressStatus(bool english) {
    return english ? "Surfaces %1 / %2" : "曲面 %1 / %2";
}

// A file read through assimp's helper process that gave nothing: %1 is the file, %2 assimp's own
// words when it refused the file, or what went beyond the memory.
inline MessageText ImporterFailureMessage(ImportStatus status, bool english) {
    switch (status) {
        case ImportStatus::kAssimpRefused:
            return english ? MessageText{"%1 could not be read.\n%2", "Error"}
                           : MessageText{"%1 を読み込めませんでした。\n%2", "エラー"};
        case ImportStatus::kImporterTimedOut:
            return english ? MessageText{"Reading %1 took too long and was stopped. Nothing was "
                                         "added.",
                                         "Error"}
                           : MessageText{"%1 の読み込みに時間がかかりすぎるため中止しました。"
                                         "何も追加していません。",
                                         "エラー"};
        case ImportStatus::kImporterOutOfMemory:
            return english ? MessageText{"Reading %1 needed more memory than allowed and was "
                                         "stopped. Nothing was added.\n%2",
                                         "Error"}
                           : MessageText{"%1 の読み込みに必要なメモリが多すぎるため中止しました。"
                                         "何も追加していません。\n%2",
                                         "エラー"};
        case ImportStatus::kImporterMissing:
            return english ? MessageText{"The importer program korvane-assimp could not be "
                                         "started, so %1 was not read.",
                                         "Error"}
                           : MessageText{"読み込みプログラム korvane-assimp を起動できないため、"
                                         "%1 を読み込めませんでした。",
                                         "エラー"};
        default:
            return english ? MessageText{"The importer stopped unexpectedly while reading %1. "
                                         "Nothing was added.",
                                         "Error"}
                           : MessageText{"%1 の読み込み中に読み込みプログラムが異常終了しました。"
                                         "何も追加していません。",
                                         "エラー"};
    }
}

// The reason given with ImporterFailureMessage(kImporterOutOfMemory) when the program itself ran
// out of memory building the model's objects.
inline const char* ModelBeyondMemoryText(bool english) {
    return english ? "The model does not fit in the memory left."
                   : "モデルが残りのメモリに収まりません。";
}

// The file filter's name for every kind of file that assimp reads.
inline const char* OtherFormatsLabel(bool english) {
    return english ? "Other formats" : "その他の形式";
}

// The question after choosing a file read through assimp: the factor for its coordinates.
inline MessageText ImportScaleQuestion(bool english) {
    return english ? MessageText{"Scale of the coordinates:", "Import"}
                   : MessageText{"座標の倍率:", "インポート"};
}

}  // namespace korvane
