#include "cli/output_check.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "export/cad/cad_export.h"
#include "export/spline_patch_formats.h"
#include "patch/surface_mesh_writer.h"

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
    return EndsIn(line.output, ".rvp") || SplinePatchFormatOf(line.output) ||
                   SurfaceMeshFormatOf(line.output) || CadFormatOf(line.output)
               ? std::string()
               : "convert writes .rvp, .mdl, .spt, .obj, .ply, .stl, .gltf, .glb, .step, .stp, "
                 ".igs and .iges files, not '" +
                     line.output + "'";
}

}  // namespace

std::string WhyOutputRefused(const CommandLine& line) {
    struct stat output {};
    // An output that is not there yet, or cannot be looked at, is the writer's to report.
    const bool exists = ::stat(line.output.c_str(), &output) == 0;
    if (exists) {
        for (const std::string& input : line.inputs) {
            struct stat info {};
            if (::stat(input.c_str(), &info) == 0 && info.st_dev == output.st_dev &&
                info.st_ino == output.st_ino) {
                return "the output '" + line.output + "' is the input '" + input +
                       "'; it was left as it is";
            }
        }
        if (IsStream(output)) {
            return {};
        }
    }
    return WrongExtension(line);
}

}  // namespace korvane::cli
