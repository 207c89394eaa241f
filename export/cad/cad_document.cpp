#include "export/cad/cad_document.h"

#include <Quantity_Color.hxx>
#include <TCollection_ExtendedString.hxx>
#include <TDataStd_Name.hxx>
#include <XCAFApp_Application.hxx>
#include <XCAFDoc_ColorTool.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>

namespace korvane {

CadDocument::CadDocument() {
    XCAFApp_Application::GetApplication()->NewDocument("MDTV-XCAF", document_);
}

// The application keeps every document it made until it is closed.
CadDocument::~CadDocument() {
    XCAFApp_Application::GetApplication()->Close(document_);
}

void CadDocument::Add(const TopoDS_Shape& shape, const std::string& utf8Name,
                      std::uint32_t colour) {
    const TDF_Label main = document_->Main();
    const TDF_Label label = XCAFDoc_DocumentTool::ShapeTool(main)->AddShape(shape, false);
    TDataStd_Name::Set(label, TCollection_ExtendedString(utf8Name.c_str(), true));
    const Quantity_Color rgb(static_cast<double>(colour & 0xFF) / 255.0,
                             static_cast<double>((colour >> 8) & 0xFF) / 255.0,
                             static_cast<double>((colour >> 16) & 0xFF) / 255.0, Quantity_TOC_sRGB);
    XCAFDoc_DocumentTool::ColorTool(main)->SetColor(label, rgb, XCAFDoc_ColorGen);
}

}  // namespace korvane
