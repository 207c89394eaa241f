#pragma once

// The messages for a file of the File menu's recent list that cannot be imported any more, UTF-8,
// in both languages: %1 is the file.

#include "resources/message_texts.h"

namespace korvane {

// Nothing is at its path any more; it leaves the list.
inline MessageText RecentFileGoneMessage(bool english) {
    return english ? MessageText{"%1 is no longer there, so it was taken off the recent files.",
                                 "Error"}
                   : MessageText{"%1 が見つかりません。最近使ったファイルの一覧から外しました。",
                                 "エラー"};
}

// It is there but may not be opened; it stays on the list.
inline MessageText RecentFileUnreadableMessage(bool english) {
    return english ? MessageText{"%1 cannot be read: it is there, but it could not be opened for "
                                 "reading.",
                                 "Error"}
                   : MessageText{"%1 を読み込めません。ファイルはありますが、読み取り用に"
                                 "開けませんでした。",
                                 "エラー"};
}

}  // namespace korvane
