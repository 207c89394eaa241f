#pragma once

#include <QString>

#include <string>

namespace korvane {

// An object's name for display. Names stay the bytes the model file held: UTF-8 in newer
// Metasequoia files, Shift_JIS in older ones, so bytes that are not valid UTF-8 are read as
// Shift_JIS.
QString DisplayName(const std::string& bytes);

}  // namespace korvane
