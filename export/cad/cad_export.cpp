#include "export/cad/cad_export.h"

#include <Standard_Failure.hxx>

#include <new>
#include <utility>

#include "export/cad/cad_document.h"
#include "export/cad/cad_file_writer.h"
#include "export/cad/network_shape.h"
#include "export/cad/object_name.h"
#include "export/export_formats.h"

namespace korvane {
namespace {

CadExportReport Translate(const std::string& path, const ObjectList<PatchObject>& objects,
                          CadFormat format, bool smoothSurfaces) {
    CadExportReport report;
    CadDocument document;
    std::size_t place = 0;
    for (PatchObject* object : objects) {
        const ObjectShape shape = BuildObjectShape(*object, smoothSurfaces);
        const std::string name = CadObjectName(object->name, place++);
        report.patchesLeftOut += shape.patchesLeftOut;
        if (shape.faces == 0) {
            report.objectsLeftOut.push_back(name);
            continue;
        }
        report.facesWritten += shape.faces;
        document.Add(shape.shape, name, object->colour);
    }
    if (report.facesWritten == 0) {
        report.written = {WriteStatus::kWriteFailed, "no object has a patch to write"};
        return report;
    }
    report.written = WriteCadDocument(path, document.Document(), format);
    return report;
}

// The door's writer for both formats.
ExportReport WriteForDocument(const std::string& path, const ObjectList<PatchObject>& objects,
                              ExportFormat format, bool smoothSurfaces) {
    CadExportReport written = WriteCadFile(
        path, objects, format == ExportFormat::kStep ? CadFormat::kStep : CadFormat::kIges,
        smoothSurfaces);
    return {.format = format,
            .status = written.written.status,
            .error = std::move(written.written.error),
            .patchesLeftOut = written.patchesLeftOut,
            .objectsLeftOut = std::move(written.objectsLeftOut)};
}

}  // namespace

void InstallCadWriters() {
    InstallExternalWriter(ExportFormat::kStep, WriteForDocument);
    InstallExternalWriter(ExportFormat::kIges, WriteForDocument);
}

CadExportReport WriteCadFile(const std::string& path, const ObjectList<PatchObject>& objects,
                             CadFormat format, bool smoothSurfaces) {
    try {
        return Translate(path, objects, format, smoothSurfaces);
    } catch (const Standard_Failure& failure) {
        CadExportReport report;
        report.written = {WriteStatus::kWriteFailed,
                          std::string("OpenCASCADE failed: ") + failure.GetMessageString()};
        return report;
    } catch (const std::bad_alloc&) {
        CadExportReport report;
        report.written = {WriteStatus::kWriteFailed, "out of memory"};
        return report;
    }
}

}  // namespace korvane
