#include "app/recent_files.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <utility>

#include "import/file_bytes.h"

namespace korvane {

RecentFileState CheckRecentFile(const QString& path) {
    const FileRead check = CheckReadableFile(QFile::encodeName(path).toStdString());
    if (check.status != FileReadStatus::kCannotOpen) {
        return RecentFileState::kReadable;
    }
    return check.systemError == ENOENT || check.systemError == ENOTDIR
               ? RecentFileState::kGone
               : RecentFileState::kUnreadable;
}

RecentFiles::RecentFiles(QString storePath) : storePath_(std::move(storePath)) {
    QFile file(storePath_);
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QString path = QString::fromUtf8(line).trimmed();
        if (!path.isEmpty() && !paths_.contains(path) && paths_.size() < kMaxFiles) {
            paths_.append(path);
        }
    }
}

void RecentFiles::Add(const QString& path) {
    paths_.removeAll(path);
    paths_.prepend(path);
    while (paths_.size() > kMaxFiles) {
        paths_.removeLast();
    }
    Save();
}

void RecentFiles::Remove(const QString& path) {
    if (paths_.removeAll(path) > 0) {
        Save();
    }
}

// A list that cannot be written is only lost for the next run; nothing else depends on it.
void RecentFiles::Save() const {
    QSaveFile file(storePath_);
    if (!file.open(QIODevice::WriteOnly)) {
        return;
    }
    for (const QString& path : paths_) {
        file.write(path.toUtf8() + '\n');
    }
    file.commit();
}

}  // namespace korvane
