#include "export/cad/cad_file_writer.h"

#include <APIHeaderSection_MakeHeader.hxx>
#include <IGESCAFControl_Writer.hxx>
#include <IGESControl_Controller.hxx>
#include <IGESData_IGESModel.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_Printer.hxx>
#include <STEPCAFControl_Controller.hxx>
#include <STEPCAFControl_Writer.hxx>
#include <STEPControl_Writer.hxx>
#include <StepData_Protocol.hxx>
#include <StepData_StepModel.hxx>
#include <StepData_StepWriter.hxx>
#include <TCollection_HAsciiString.hxx>

#include <filesystem>
#include <mutex>
#include <sstream>

#include "export/atomic_file_writer.h"
#include "export/cad/written_as_built.h"
#include "korvane_version.h"

namespace korvane {
namespace {

std::mutex& SettingsMutex() {
    static std::mutex mutex;
    return mutex;
}

// The model's coordinates are centimetres (the Metasequoia import makes them so), and with the
// session's unit and the file's unit alike they are written as they are, without scaling.
// write.iges.brep.mode 1 writes faces in loops, shells and solids, not loose trimmed surfaces.
// STEP goes without the edges' curves in the faces' parameters: they would add half to its size
// and its writing time, and a reader finds them exactly, as the iso-lines of the Bezier surfaces
// that they are. IGES keeps them in its loops.
void ApplySettings(CadFormat format) {
    Interface_Static::SetCVal("xstep.cascade.unit", "CM");
    Interface_Static::SetCVal("write.step.unit", "CM");
    Interface_Static::SetCVal("write.step.schema", "AP214IS");
    Interface_Static::SetCVal("write.iges.unit", "CM");
    Interface_Static::SetIVal("write.iges.brep.mode", 1);
    Interface_Static::SetIVal("write.surfacecurve.mode", format == CadFormat::kStep ? 0 : 1);
}

Handle(TCollection_HAsciiString) Ascii(const std::string& text) {
    return new TCollection_HAsciiString(text.c_str());
}

std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

bool StepText(const Handle(TDocStd_Document) & document, const std::string& path,
              std::ostringstream& out) {
    STEPCAFControl_Writer writer;
    if (!writer.Transfer(document, STEPControl_AsIs)) {
        return false;
    }
    const Handle(StepData_StepModel) model = writer.ChangeWriter().Model();
    APIHeaderSection_MakeHeader header(model);
    header.SetName(Ascii(FileName(path)));
    header.SetOriginatingSystem(Ascii(kProductAndVersion));
    header.Apply(model);
    // What STEPControl_Writer::Write does, into a stream rather than a file of OpenCASCADE's.
    StepData_StepWriter text(model);
    text.SendModel(Handle(StepData_Protocol)::DownCast(model->Protocol()));
    return text.Print(out);
}

bool IgesText(const Handle(TDocStd_Document) & document, const std::string& path,
              std::ostringstream& out) {
    IGESCAFControl_Writer writer;
    if (!writer.Transfer(document)) {
        return false;
    }
    IGESData_GlobalSection header = writer.Model()->GlobalSection();
    header.SetFileName(Ascii(FileName(path)));
    header.SetSystemId(Ascii(kProductAndVersion));
    writer.Model()->SetGlobalSection(header);
    return writer.Write(out);
}

}  // namespace

void PrepareOpenCascade() {
    static std::once_flag once;
    std::call_once(once, [] {
        Message::DefaultMessenger()->RemovePrinters(STANDARD_TYPE(Message_Printer));
        STEPCAFControl_Controller::Init();
        IGESControl_Controller::Init();
        WriteShapesAsBuilt();
    });
}

WriteResult WriteCadDocument(const std::string& path, const Handle(TDocStd_Document) & document,
                             CadFormat format) {
    PrepareOpenCascade();
    std::ostringstream out;
    {
        const std::lock_guard lock(SettingsMutex());
        ApplySettings(format);
        const bool translated = format == CadFormat::kStep ? StepText(document, path, out)
                                                           : IgesText(document, path, out);
        if (!translated || !out) {
            return {WriteStatus::kWriteFailed, "OpenCASCADE could not translate the shapes"};
        }
    }
    const std::string_view text = out.view();
    return WriteFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace korvane
