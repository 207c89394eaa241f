#include "export/export_formats.h"

#include "export/animation_master_writer.h"
#include "export/file_extension.h"
#include "export/rvp_writer.h"
#include "export/spatch_writer.h"
#include "export/surface_mesh_writer.h"
#include "patch/patch_facing.h"

#include <algorithm>
#include <map>
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
    {"step", ExportFormat::kStep},        {"stp", ExportFormat::kStep},
    {"igs", ExportFormat::kIges},         {"iges", ExportFormat::kIges},
};

// Filled once at start, before any export runs.
std::map<ExportFormat, ExternalWriter>& ExternalWriters() {
    static std::map<ExportFormat, ExternalWriter> writers;
    return writers;
}

WriteResult Write(const std::string& path, const ObjectList<PatchObject>& objects,
                  ExportFormat format, const ExportOptions& options) {
    switch (format) {
        case ExportFormat::kRuvoPatch:
            return WriteRvpFile(path, objects);
        case ExportFormat::kAnimationMaster:
            return WriteAnimationMasterFile(path, objects);
        case ExportFormat::kSPatch:
            return WriteSPatchFile(path, objects);
        case ExportFormat::kSurfaceMesh:
            return WriteSurfaceMesh(path, objects, options.surfaceResolution,
                                    options.smoothSurfaces);
        case ExportFormat::kStep:
        case ExportFormat::kIges:
            break;
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
    return format != ExportFormat::kRuvoPatch && format != ExportFormat::kSPatch;
}

void InstallExternalWriter(ExportFormat format, ExternalWriter writer) {
    ExternalWriters()[format] = writer;
}

ExportFormat FormatToWrite(const std::string& path, const ExportOptions& options) {
    return options.format.value_or(ExportFormatOf(path).value_or(ExportFormat::kRuvoPatch));
}

std::int32_t ObjectsTheFormatHolds(const ObjectList<PatchObject>& objects, ExportFormat format) {
    std::int32_t held = 0;
    for (const PatchObject* object : objects) {
        switch (format) {
            case ExportFormat::kRuvoPatch:
                ++held;
                break;
            case ExportFormat::kAnimationMaster:
            case ExportFormat::kSPatch:
                held += object->SplineCount() > 0 ? 1 : 0;
                break;
            case ExportFormat::kSurfaceMesh:
            case ExportFormat::kStep:
            case ExportFormat::kIges:
                held += std::ranges::any_of(object->Patches(), HasSurface) ? 1 : 0;
                break;
        }
    }
    return held;
}

ExportReport ExportModelFile(const std::string& path, const ObjectList<PatchObject>& objects,
                             const ExportOptions& options) {
    const ExportFormat format = FormatToWrite(path, options);
    if (format == ExportFormat::kStep || format == ExportFormat::kIges) {
        const auto writer = ExternalWriters().find(format);
        if (writer == ExternalWriters().end()) {
            return {format, WriteStatus::kCannotCreate, "this program cannot write STEP or IGES"};
        }
        ExportReport report = writer->second(path, objects, format, options.smoothSurfaces);
        report.format = format;
        report.objectsWritten = ObjectsTheFormatHolds(objects, format) -
                                static_cast<std::int32_t>(report.objectsLeftOut.size());
        return report;
    }
    WriteResult written = Write(path, objects, format, options);
    return {format, written.status, std::move(written.error),
            ObjectsTheFormatHolds(objects, format)};
}

}  // namespace korvane
