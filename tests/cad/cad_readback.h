#pragma once

// The network's headers come before OpenCASCADE's, whose Handle macro would otherwise rewrite
// SplineNode::Handle.
#include "export/cad/cad_export.h"

#include <TopoDS_Shape.hxx>

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// STEP and IGES files read back with OpenCASCADE's own readers, the way a CAD program reads them.

namespace korvane::testing {

struct CadObject {
    std::string name;                             // UTF-8
    std::optional<std::array<double, 3>> colour;  // sRGB, 0 to 1
    TopoDS_Shape shape;
};

// The file's top-level shapes in file order, or nothing when the reader refuses it. Lengths come
// back in centimetres, the unit the export writes, so that coordinates are the file's own.
std::optional<std::vector<CadObject>> ReadCadFile(const std::string& path, CadFormat format);

// The 48 floats of a bicubic surface's 16 poles, pole (u, v) at 3 (4 v + u): a B-spline surface
// of one span or a Bezier surface of degree 3 in both directions; nothing for any other surface.
std::optional<std::array<float, 48>> BicubicPoles(const TopoDS_Shape& face);

// A shell as the checks see it: its face count, whether every edge joins two of its faces, and
// whether it bounds a solid.
struct ShellSummary {
    int faces = 0;
    bool closed = false;
    bool inSolid = false;
    auto operator<=>(const ShellSummary&) const = default;
};

void PrintTo(const ShellSummary& shell, std::ostream* out);

// Every shell of shape, sorted.
std::vector<ShellSummary> SummariseShells(const TopoDS_Shape& shape);

int CountFaces(const TopoDS_Shape& shape);

}  // namespace korvane::testing
