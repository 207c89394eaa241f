#include "cad/cad_readback.h"

#include <BRep_Tool.hxx>
#include <Geom_BSplineSurface.hxx>
#include <Geom_BezierSurface.hxx>
#include <IGESCAFControl_Reader.hxx>
#include <Interface_Static.hxx>
#include <Quantity_Color.hxx>
#include <STEPCAFControl_Reader.hxx>
#include <TDataStd_Name.hxx>
#include <TDocStd_Document.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <XCAFApp_Application.hxx>
#include <XCAFDoc_ColorTool.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>

#include <algorithm>

#include "export/cad/cad_file_writer.h"

namespace korvane::testing {
namespace {

std::string Utf8(const TCollection_ExtendedString& text) {
    std::string out(static_cast<std::size_t>(text.LengthOfCString()), '\0');
    char* at = out.data();
    out.resize(static_cast<std::size_t>(text.ToUTF8CString(at)));
    return out;
}

// Readers put a colour on the shape's label, on the shape, or on its parts.
std::optional<std::array<double, 3>> ColourOf(const Handle(XCAFDoc_ColorTool) & colours,
                                              const TDF_Label& label, const TopoDS_Shape& shape) {
    Quantity_Color colour;
    bool found = false;
    for (const XCAFDoc_ColorType type : {XCAFDoc_ColorGen, XCAFDoc_ColorSurf}) {
        found = found || colours->GetColor(label, type, colour) ||
                colours->GetColor(shape, type, colour);
    }
    for (const TopAbs_ShapeEnum kind : {TopAbs_SOLID, TopAbs_SHELL, TopAbs_FACE}) {
        for (TopExp_Explorer part(shape, kind); !found && part.More(); part.Next()) {
            found = colours->GetColor(part.Current(), XCAFDoc_ColorSurf, colour) ||
                    colours->GetColor(part.Current(), XCAFDoc_ColorGen, colour);
        }
    }
    if (!found) {
        return std::nullopt;
    }
    std::array<double, 3> rgb{};
    colour.Values(rgb[0], rgb[1], rgb[2], Quantity_TOC_sRGB);
    return rgb;
}

template <class Reader>
bool ReadInto(const std::string& path, Handle(TDocStd_Document) & document) {
    Reader reader;
    reader.SetNameMode(true);
    reader.SetColorMode(true);
    return reader.ReadFile(path.c_str()) == IFSelect_RetDone && reader.Transfer(document);
}

}  // namespace

std::optional<std::vector<CadObject>> ReadCadFile(const std::string& path, CadFormat format) {
    PrepareOpenCascade();
    Interface_Static::SetCVal("xstep.cascade.unit", "CM");
    Handle(TDocStd_Document) document;
    XCAFApp_Application::GetApplication()->NewDocument("MDTV-XCAF", document);
    const bool read = format == CadFormat::kStep ? ReadInto<STEPCAFControl_Reader>(path, document)
                                                 : ReadInto<IGESCAFControl_Reader>(path, document);
    std::optional<std::vector<CadObject>> objects;
    if (read) {
        objects.emplace();
        const Handle(XCAFDoc_ShapeTool) shapes = XCAFDoc_DocumentTool::ShapeTool(document->Main());
        const Handle(XCAFDoc_ColorTool) colours = XCAFDoc_DocumentTool::ColorTool(document->Main());
        TDF_LabelSequence labels;
        shapes->GetFreeShapes(labels);
        for (const TDF_Label& label : labels) {
            CadObject& object = objects->emplace_back();
            object.shape = XCAFDoc_ShapeTool::GetShape(label);
            Handle(TDataStd_Name) name;
            if (label.FindAttribute(TDataStd_Name::GetID(), name)) {
                object.name = Utf8(name->Get());
            }
            object.colour = ColourOf(colours, label, object.shape);
        }
    }
    XCAFApp_Application::GetApplication()->Close(document);
    return objects;
}

std::optional<std::array<float, 48>> BicubicPoles(const TopoDS_Shape& face) {
    const Handle(Geom_Surface) surface = BRep_Tool::Surface(TopoDS::Face(face));
    TColgp_Array2OfPnt poles(1, 4, 1, 4);
    if (const auto bspline = Handle(Geom_BSplineSurface)::DownCast(surface)) {
        if (bspline->UDegree() != 3 || bspline->VDegree() != 3 || bspline->NbUKnots() != 2 ||
            bspline->NbVKnots() != 2 || bspline->IsURational() || bspline->IsVRational()) {
            return std::nullopt;
        }
        bspline->Poles(poles);
    } else if (const auto bezier = Handle(Geom_BezierSurface)::DownCast(surface)) {
        if (bezier->UDegree() != 3 || bezier->VDegree() != 3 || bezier->IsURational() ||
            bezier->IsVRational()) {
            return std::nullopt;
        }
        bezier->Poles(poles);
    } else {
        return std::nullopt;
    }
    std::array<float, 48> values{};
    for (int u = 0; u < 4; ++u) {
        for (int v = 0; v < 4; ++v) {
            const gp_Pnt& p = poles(u + 1, v + 1);
            float* at = &values[static_cast<std::size_t>(3 * (4 * v + u))];
            at[0] = static_cast<float>(p.X());
            at[1] = static_cast<float>(p.Y());
            at[2] = static_cast<float>(p.Z());
        }
    }
    return values;
}

std::vector<ShellSummary> SummariseShells(const TopoDS_Shape& shape) {
    std::vector<ShellSummary> shells;
    const auto summarise = [&shells](const TopoDS_Shape& shell, bool inSolid) {
        shells.push_back({CountFaces(shell), BRep_Tool::IsClosed(shell), inSolid});
    };
    for (TopExp_Explorer solid(shape, TopAbs_SOLID); solid.More(); solid.Next()) {
        for (TopExp_Explorer shell(solid.Current(), TopAbs_SHELL); shell.More(); shell.Next()) {
            summarise(shell.Current(), true);
        }
    }
    for (TopExp_Explorer shell(shape, TopAbs_SHELL, TopAbs_SOLID); shell.More(); shell.Next()) {
        summarise(shell.Current(), false);
    }
    std::sort(shells.begin(), shells.end());
    return shells;
}

void PrintTo(const ShellSummary& shell, std::ostream* out) {
    *out << shell.faces << (shell.closed ? " closed" : " open") << (shell.inSolid ? " solid" : "");
}

int CountFaces(const TopoDS_Shape& shape) {
    int count = 0;
    for (TopExp_Explorer face(shape, TopAbs_FACE); face.More(); face.Next()) {
        ++count;
    }
    return count;
}

}  // namespace korvane::testing
