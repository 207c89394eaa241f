#pragma once

#include <TDocStd_Document.hxx>
#include <TopoDS_Shape.hxx>

#include <cstdint>
#include <string>

namespace korvane {

// An XCAF document of top-level shapes, each with a name and a colour, as the STEP and IGES
// writers take them. The document is closed when this goes.
class CadDocument {
  public:
    CadDocument();
    ~CadDocument();
    CadDocument(const CadDocument&) = delete;
    CadDocument& operator=(const CadDocument&) = delete;

    // colour is 0x00BBGGRR, each byte an sRGB component.
    void Add(const TopoDS_Shape& shape, const std::string& utf8Name, std::uint32_t colour);

    const Handle(TDocStd_Document) & Document() const { return document_; }

  private:
    Handle(TDocStd_Document) document_;
};

}  // namespace korvane
