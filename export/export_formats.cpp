#include "export/export_formats.h"

#include "export/animation_master_writer.h"
#include "export/file_extension.h"
#include "export/rvp_writer.h"
#include "export/spatch_writer.h"
#include "export/surface_mesh_writer.h"

namespace korvane {
namespace {

struct Extension {
    const char* name;
    ExportFormat format;
};

// A new format is a writer and a line here (and one in WriteModelFile).
constexpr Extension kExtensions[] = {
    {"rvp", ExportFormat::kRuvoPatch},    {"mdl", ExportFormat::kAnimationMaster},
    {"spt", ExportFormat::kSPatch},       {"obj", ExportFormat::kSurfaceMesh},
    {"ply", ExportFormat::kSurfaceMesh},  {"stl", ExportFormat::kSurfaceMesh},
    {"gltf", ExportFormat::kSurfaceMesh}, {"glb", ExportFormat::kSurfaceMesh},
};

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

WriteResult WriteModelFile(const std::string& path, const ObjectList<PatchObject>& objects,
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

}  // namespace korvane
