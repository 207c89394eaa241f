#include "app/settings_file.h"

#include <QFile>

#include <cctype>

namespace korvane {
namespace {

constexpr std::size_t kLongestWord = 99;
constexpr qint64 kReadLimit = 4096;  // the word is near the start; the rest is never looked at

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

bool SelectsEnglish(const std::string& content) {
    std::size_t start = 0;
    while (start < content.size() && IsBlank(content[start])) {
        ++start;
    }
    std::size_t end = start;
    while (end < content.size() && !IsBlank(content[end]) && end - start < kLongestWord) {
        ++end;
    }
    return content.compare(start, end - start, "english") == 0;
}

std::optional<bool> ReadLanguageSetting(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray content = file.read(kReadLimit);
    return SelectsEnglish(content.toStdString());
}

void WriteLanguageSetting(const QString& path, bool english) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        return;
    }
    file.write(english ? "english\n" : "japanese\n");
}

}  // namespace korvane
