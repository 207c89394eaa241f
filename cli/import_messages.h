#pragma once

#include <string>
#include <vector>

#include "import/import_report.h"

namespace korvane::cli {

// Why a model file gave no objects, in one line without the file's name.
std::string WhyNotImported(const ImportReport& report);

// What the import of the file at path left out, one message each, as the desktop program would
// have told it.
void AddImportWarnings(const std::string& path, const ImportReport& report,
                       std::vector<std::string>& messages);

}  // namespace korvane::cli
