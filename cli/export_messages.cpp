#include "cli/export_messages.h"

namespace korvane::cli {
namespace {

// "1 patch", "2 patches".
std::string Counted(std::int64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string WhyNotWritten(const ExportReport& report) {
    switch (report.status) {
        case WriteStatus::kNothingToWrite:
            return report.format == ExportFormat::kRuvoPatch ? "there is no object to write"
                   : WritesPatches(report.format)            ? "no object has a patch to write"
                                                             : "no object has a curve to write";
        case WriteStatus::kWouldReplaceSource:
            return "it is a file that the model was imported from";
        default:
            return report.error;
    }
}

std::vector<std::string> LeftOutWarnings(const ExportReport& report) {
    std::vector<std::string> lines;
    if (report.patchesLeftOut > 0) {
        lines.push_back("left out " + Counted(report.patchesLeftOut, "patch", "patches") +
                        " with two corners at one place or coordinates that are not numbers");
    }
    if (!report.objectsLeftOut.empty()) {
        std::string line =
            "left out " +
            Counted(static_cast<std::int64_t>(report.objectsLeftOut.size()), "object", "objects") +
            " without patches:";
        for (const std::string& name : report.objectsLeftOut) {
            line += " " + name;
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace korvane::cli
