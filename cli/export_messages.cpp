#include "cli/export_messages.h"

namespace korvane::cli {

std::vector<std::string> LeftOutWarnings(const ExportReport& report) {
    std::vector<std::string> lines;
    if (report.patchesLeftOut > 0) {
        lines.push_back("left out " + std::to_string(report.patchesLeftOut) +
                        (report.patchesLeftOut == 1 ? " patch" : " patches") +
                        " with two corners at one place or coordinates that are not numbers");
    }
    if (!report.objectsLeftOut.empty()) {
        std::string line = "left out " + std::to_string(report.objectsLeftOut.size()) +
                           (report.objectsLeftOut.size() == 1 ? " object" : " objects") +
                           " without patches:";
        for (const std::string& name : report.objectsLeftOut) {
            line += " " + name;
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace korvane::cli
