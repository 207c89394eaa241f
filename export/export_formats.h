#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "export/write_status.h"
#include "geometry/object_list.h"
#include "patch/patch_object.h"

// The formats the network is written in, and the one place where a file's writer is chosen.

namespace korvane {

enum class ExportFormat {
    kRuvoPatch,        // .rvp: points, curves and each point's references
    kAnimationMaster,  // .mdl
    kSPatch,           // .spt
    kSurfaceMesh,      // .obj, .ply, .stl, .gltf, .glb: the patch surfaces as triangles
};

// The format a file name asks for by its extension, in any case. Nothing for any other name.
std::optional<ExportFormat> ExportFormatOf(const std::string& path);

// Whether the format holds the patches, which must then be current when it is written; the others
// hold curves only.
bool WritesPatches(ExportFormat format);

// Writes objects at path in format, replacing any file there only once all of it is written. A
// surface mesh takes its kind from the path's extension and is cut at surfaceResolution, as the
// view's surfaces are.
WriteResult WriteModelFile(const std::string& path, const ObjectList<PatchObject>& objects,
                           ExportFormat format, std::int32_t surfaceResolution);

}  // namespace korvane
