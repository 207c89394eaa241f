#pragma once

#include <QString>

#include <optional>
#include <string>

// k_r_v.ini: one word, "japanese" or "english", and a newline.

namespace korvane {

// True exactly when the first whitespace-delimited word, cut at 99 characters, is "english".
bool SelectsEnglish(const std::string& content);

// The language the file selects, or nothing when it cannot be read.
std::optional<bool> ReadLanguageSetting(const QString& path);

// Replaces the file's content; a file that cannot be written is skipped without a word.
void WriteLanguageSetting(const QString& path, bool english);

}  // namespace korvane
