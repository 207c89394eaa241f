#pragma once

#include <string>
#include <vector>

#include "document/document_counts.h"

namespace korvane::cli {

// The counts of info as a table of aligned columns, or as one JSON document, followed by the
// import's messages.
std::string FormatStatisticsText(const DocumentCounts& counts,
                                 const std::vector<std::string>& messages);
std::string FormatStatisticsJson(const DocumentCounts& counts,
                                 const std::vector<std::string>& messages);

}  // namespace korvane::cli
