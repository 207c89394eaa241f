#include "cli/import_messages.h"

#include <cstring>

#include "cli/text_encoding.h"
#include "import/mqoz_archive.h"

namespace korvane::cli {
namespace {

std::string WhyUnreadable(const FileRead& read) {
    switch (read.status) {
        case FileReadStatus::kNotRegularFile:
            switch (read.kind) {
                case FileKind::kFolder:
                    return "is a folder, not a model file";
                case FileKind::kPipe:
                    return "cannot be read: a pipe (FIFO), not a regular file";
                case FileKind::kSocket:
                    return "cannot be read: a socket, not a regular file";
                default:
                    return "cannot be read: a device, not a regular file";
            }
        case FileReadStatus::kTooLarge:
            return "cannot be read: larger than a model file can be";
        default:
            return std::string("cannot be read: ") + std::strerror(read.systemError);
    }
}

// A line of assimp's, or of the helper's, as part of one line of ours.
std::string OneLine(std::string text) {
    for (char& c : text) {
        c = c == '\n' || c == '\r' ? ' ' : c;
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

// Why assimp, or its helper, gave nothing.
std::string WhyNotReadThroughAssimp(const ImportReport& report) {
    switch (report.status) {
        case ImportStatus::kAssimpRefused:
            if (report.Count(ImportWarningKind::kSideFilesRefused) > 0) {
                return "assimp could not read it: " + OneLine(report.detail);
            }
            return "not a Metasequoia (.mqo), LightWave (.lwo) or ruvoPatch (.rvp) file, and "
                   "assimp does not read it: " +
                   OneLine(report.detail);
        case ImportStatus::kCannotOpen:
            return "cannot be read";  // it could a moment before: changed meanwhile
        case ImportStatus::kNotRegularFile:
            return "cannot be read: not a regular file";  // it was one a moment before
        default:
            return OneLine(report.detail) + "; nothing was imported from it";
    }
}

// Why a file of one of our own kinds gave no model.
std::string WhyNotReadByUs(const ImportReport& report) {
    switch (report.status) {
        case ImportStatus::kMalformed:
            return "not a readable ruvoPatch file: " + report.detail;
        case ImportStatus::kArchiveWithoutModel:
            return "a zip archive with no Metasequoia (.mqo) file in it";
        case ImportStatus::kArchiveDamaged:
            return "a damaged zip archive (cut short or corrupt), or its .mqo file is encrypted "
                   "or packed by a method that cannot be read";
        case ImportStatus::kArchiveTooLarge:
            return "the .mqo file in this zip archive unpacks to more than " +
                   std::to_string(kMqozLimits.maxBytes >> 20) + " MiB or more than " +
                   std::to_string(kMqozLimits.maxRatio) +
                   " times its packed size (a zip bomb?); it was not read";
        case ImportStatus::kArchiveTooManyMembers:
            return "a zip archive of more than " + std::to_string(kMaxArchiveMembers) +
                   " files, not a model archive; it was not read";
        default:
            return "not a readable model file";
    }
}

std::string WarningText(ImportWarningKind kind, std::int32_t count, const ImportReport& report) {
    const std::string n = std::to_string(count);
    const bool one = count == 1;
    switch (kind) {
        case ImportWarningKind::kDroppedFaces:
            return n + (one ? " face that names vertices the object does not have was left out"
                            : " faces that name vertices the object does not have were left out");
        case ImportWarningKind::kLathesLeftOut:
            return n + (one ? " object was kept without its lathe, which would not fit in memory"
                            : " objects were kept without their lathe, which would not fit in "
                              "memory");
        case ImportWarningKind::kMirrorsLeftOut:
            return n + (one ? " object was kept without its mirror, whose mode is not 0, 1 or 2"
                            : " objects were kept without their mirror, whose mode is not 0, 1 or "
                              "2");
        case ImportWarningKind::kTruncated:
            return "the file ends early; what it held before the end was imported";
        case ImportWarningKind::kOutlineFaces:
            return n + (one ? " face with more than four corners was kept as an outline without "
                              "patches"
                            : " faces with more than four corners were kept as outlines without "
                              "patches");
        case ImportWarningKind::kOtherArchiveModels:
            return "the archive holds " + n + " Metasequoia (.mqo) files; only " +
                   NameForReading(report.archiveModelRead) + " was read";
        case ImportWarningKind::kVertexBlocksMismatched:
            return n + (one ? " binary vertex block holds another number of vertices than it "
                              "declares; only the whole vertices that both allow were read"
                            : " binary vertex blocks hold another number of vertices than they "
                              "declare; only the whole vertices that both allow were read");
        case ImportWarningKind::kSideFilesRefused:
            return OneLine(report.detail) + "; the model was imported without them";
    }
    return {};
}

}  // namespace

std::string WhyNotImported(const ImportReport& report) {
    if (report.file.status != FileReadStatus::kRead) {
        return WhyUnreadable(report.file);
    }
    if (report.status == ImportStatus::kBeyondMemory) {
        return "the model does not fit in the memory left; nothing was imported from it";
    }
    return report.format == ModelFormat::kUnknown ? WhyNotReadThroughAssimp(report)
                                                  : WhyNotReadByUs(report);
}

void AddImportWarnings(const std::string& path, const ImportReport& report,
                       std::vector<std::string>& messages) {
    for (const ImportWarning& warning : report.warnings) {
        messages.push_back(path + ": " + WarningText(warning.kind, warning.count, report));
    }
}

}  // namespace korvane::cli
