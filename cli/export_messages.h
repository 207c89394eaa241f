#pragma once

#include <string>
#include <vector>

#include "export/export_formats.h"

namespace korvane::cli {

// One warning line for each kind of thing an export left out; none when it left out nothing.
std::vector<std::string> LeftOutWarnings(const ExportReport& report);

}  // namespace korvane::cli
