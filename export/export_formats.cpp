#include "export/export_formats.h"

#include "export/animation_master_writer.h"
#include "export/file_extension.h"
#include "export/rvp_writer.h"
#include "export/spatch_writer.h"
#include "export/surface_mesh_writer.h"

#include <utility>

namespace korvane {
namespace {

struct Extension {
    const char* name;
    ExportFormat format;
};

// A new format is a writer, a line here and one in Write below.
constexpr Extension kExtensions[] = {
    {"rvp", ExportFormat::kRuvoPatch},    {"mdl", ExportFormat::kAnimationMaster},
    {"spt", ExportFormat::kSPatch},       {"obj", ExportFormat::kSurfaceMesh},
    {"ply", ExportFormat::kSurfaceMesh},  {"stl", ExportFormat::kSurfaceMesh},
    {"gltf", ExportFormat::kSurfaceMesh}, {"glb", ExportFormat::kSurfaceMesh},
};

WriteResult Write(const std::string& path, const ObjectList<PatchObject>& objects,
                  ExportFormat format, std::int32_t surfaceResolution) {
    switch (format) {
        case ExportFormat::kRuvoPatch:
            return WriteRvpFile(path, objects);
        case ExportFormat::kAnimationMaster:
            return WriteAnimationMasterFile(path, objects);
        case ExportFormat::kSPatch:
            return WriteSPatchFile(path, objects);
        case ExportFormat::kSurfaceMesh:
            return WriteSurfaceMesh(path, objects, surfaceResolution);
    }
    return {WriteStatus::kCannotCreate, "no writer for this format"};
}

}  // namespace

std::optional<ExportFormat> ExportFormatOf(const std::string& path) {
    const std::string extension = LowerCaseExtension(path);
    for (const Extension& known : kExtensions) {
        if (extension == known.name) {
            return known.format;
        }
    }
    return std::nullopt;
}

bool WritesPatches(ExportFormat format) {
    return format == ExportFormat::kAnimationMaster || format == ExportFormat::kSurfaceMesh;
}

ExportFormat FormatToWrite(const std::string& path, const ExportOptions& options) {
    return options.format.value_or(ExportFormatOf(path).value_or(ExportFormat::kRuvoPatch));
}

ExportReport ExportModelFile(const std::string& path, const ObjectList<PatchObject>& objects,
                             const ExportOptions& options) {
    const ExportFormat format = FormatToWrite(path, options);
    WriteResult written = Write(path, objects, format, options.surfaceResolution);
    return {format, written.status, std::move(written.error)};
}

}  // namespace korvane
