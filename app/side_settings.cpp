#include "app/side_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cmath>

namespace korvane {
namespace {

constexpr qint64 kReadLimit = 4096;  // a path or a number; anything longer is no value of ours
constexpr float kLargestAngle = 180.0f;
constexpr int kAngleDigits = 9;  // every float reads back as itself

const QString kAngleFile = QStringLiteral("k_r_v.angle");
const QString kFolderFile = QStringLiteral("k_r_v.folder");
const QString kSmoothFile = QStringLiteral("k_r_v.smooth");

std::optional<QByteArray> ReadSideFile(const QString& settingsPath, const QString& name) {
    QFile file(SideFilePath(settingsPath, name));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.read(kReadLimit);
}

void WriteSideFile(const QString& settingsPath, const QString& name, const QByteArray& value) {
    QSaveFile file(SideFilePath(settingsPath, name));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(value + '\n');
        file.commit();
    }
}

}  // namespace

QString SideFilePath(const QString& settingsPath, const QString& name) {
    return QFileInfo(settingsPath).dir().filePath(name);
}

std::optional<float> ReadConnectAngle(const QString& settingsPath) {
    const std::optional<QByteArray> content = ReadSideFile(settingsPath, kAngleFile);
    if (!content) {
        return std::nullopt;
    }
    bool isNumber = false;
    const float degrees = content->trimmed().toFloat(&isNumber);
    if (!isNumber || !std::isfinite(degrees) || degrees < 0.0f || degrees > kLargestAngle) {
        return std::nullopt;
    }
    return degrees;
}

void WriteConnectAngle(const QString& settingsPath, float degrees) {
    WriteSideFile(settingsPath, kAngleFile, QByteArray::number(degrees, 'g', kAngleDigits));
}

std::optional<bool> ReadSmoothSurfaces(const QString& settingsPath) {
    const QByteArray word =
        ReadSideFile(settingsPath, kSmoothFile).value_or(QByteArray()).trimmed();
    if (word == "1" || word == "0") {
        return word == "1";
    }
    return std::nullopt;
}

void WriteSmoothSurfaces(const QString& settingsPath, bool smooth) {
    WriteSideFile(settingsPath, kSmoothFile, smooth ? "1" : "0");
}

QString ReadLastFolder(const QString& settingsPath) {
    QByteArray content = ReadSideFile(settingsPath, kFolderFile).value_or(QByteArray());
    if (content.endsWith('\n')) {
        content.chop(1);
    }
    const QString folder = QString::fromUtf8(content);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void WriteLastFolder(const QString& settingsPath, const QString& folder) {
    WriteSideFile(settingsPath, kFolderFile, folder.toUtf8());
}

}  // namespace korvane
