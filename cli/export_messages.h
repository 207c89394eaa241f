#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/export_formats.h"

namespace korvane::cli {

// Why an export wrote no file, in one line: the refusal, or the system's words for the failure.
std::string WhyNotWritten(const ExportReport& report);

// One warning line for each kind of thing an export left out; none when it left out nothing.
std::vector<std::string> LeftOutWarnings(const ExportReport& report);

}  // namespace korvane::cli
