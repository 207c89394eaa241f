#include "export/cad/cad_export.h"

#include <Standard_Failure.hxx>

#include <algorithm>
#include <cctype>
#include <new>

#include "export/cad/cad_document.h"
#include "export/cad/cad_file_writer.h"
#include "export/cad/network_shape.h"
#include "export/cad/object_name.h"

namespace korvane {
namespace {

CadExportReport Translate(const std::string& path, const ObjectList<PatchObject>& objects,
                          CadFormat format) {
    CadExportReport report;
    CadDocument document;
    std::size_t place = 0;
    for (PatchObject* object : objects) {
        const ObjectShape shape = BuildObjectShape(*object);
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

}  // namespace

std::optional<CadFormat> CadFormatOf(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) {
        return std::nullopt;
    }
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "step" || extension == "stp") {
        return CadFormat::kStep;
    }
    if (extension == "igs" || extension == "iges") {
        return CadFormat::kIges;
    }
    return std::nullopt;
}

CadExportReport WriteCadFile(const std::string& path, const ObjectList<PatchObject>& objects,
                             CadFormat format) {
    try {
        return Translate(path, objects, format);
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

std::vector<std::string> LeftOutWarnings(const CadExportReport& report) {
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

}  // namespace korvane
