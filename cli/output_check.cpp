#include "cli/output_check.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

#include "export/export_formats.h"

namespace korvane::cli {
namespace {

bool IsStream(const struct stat& info) {
    return S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode);
}

bool EndsIn(const std::string& path, std::string_view extension) {
    std::string actual = std::filesystem::path(path).extension().string();
    std::transform(actual.begin(), actual.end(), actual.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return actual == extension;
}

std::string WrongExtension(const CommandLine& line) {
    if (line.command == Command::kRender) {
        return EndsIn(line.output, ".png") ? std::string()
                                           : "render writes .png images, not '" + line.output + "'";
    }
    return ExportFormatOf(line.output)
               ? std::string()
               : "convert writes .rvp, .mdl, .spt, .obj, .ply, .stl, .gltf, .glb, .step, .stp, "
                 ".igs and .iges files, not '" +
                     line.output + "'";
}

// The files that an output brings along, named as the mesh exporter names them: an OBJ's
// material library and a glTF's buffer.
std::vector<std::string> CompanionsOf(const std::string& output) {
    std::filesystem::path companion(output);
    if (EndsIn(output, ".obj")) {
        return {companion.replace_extension(".mtl").string()};
    }
    if (EndsIn(output, ".gltf")) {
        return {companion.replace_extension(".bin").string()};
    }
    return {};
}

// The input that path is, under any name; empty when none is.
std::string InputAt(const std::string& path, const CommandLine& line) {
    struct stat written {};
    if (::stat(path.c_str(), &written) != 0) {
        return {};
    }
    for (const std::string& input : line.inputs) {
        struct stat info {};
        if (::stat(input.c_str(), &info) == 0 && info.st_dev == written.st_dev &&
            info.st_ino == written.st_ino) {
            return input;
        }
    }
    return {};
}

}  // namespace

std::string WhyOutputRefused(const CommandLine& line) {
    if (const std::string input = InputAt(line.output, line); !input.empty()) {
        return "the output '" + line.output + "' is the input '" + input +
               "'; it was left as it is";
    }
    for (const std::string& companion : CompanionsOf(line.output)) {
        if (const std::string input = InputAt(companion, line); !input.empty()) {
            return "the output '" + line.output + "' would replace the input '" + input +
                   "' with its companion '" + companion + "'; nothing was written";
        }
    }
    struct stat output {};
    // An output that is not there yet, or cannot be looked at, is the writer's to report.
    if (::stat(line.output.c_str(), &output) == 0 && IsStream(output)) {
        return {};
    }
    return WrongExtension(line);
}

}  // namespace korvane::cli
