#pragma once

#include <QString>
#include <QStringList>

namespace korvane {

// Whether a remembered file can still be imported: kGone when nothing is at its path any more (or
// a folder on the way is gone), kUnreadable when it is there but may not be opened for reading.
// Anything else is kReadable, a folder or a pipe too: its import says what it is.
enum class RecentFileState { kReadable, kGone, kUnreadable };
RecentFileState CheckRecentFile(const QString& path);

// The model files imported last, most recent first, at most kMaxFiles. They are kept in a file of
// their own (one path a line, UTF-8), written at every change, so that the list outlives the run
// without touching the one-word settings file.
class RecentFiles {
  public:
    static constexpr int kMaxFiles = 4;

    // Reads the list from storePath; a missing or unreadable file gives an empty list.
    explicit RecentFiles(QString storePath);

    const QStringList& paths() const { return paths_; }
    // Puts the file first, dropping an older entry of the same file and the oldest beyond four.
    void Add(const QString& path);
    void Remove(const QString& path);

  private:
    void Save() const;

    QString storePath_;
    QStringList paths_;
};

}  // namespace korvane
