#pragma once

#include <cstdint>
#include <string>

#include "export/write_status.h"
#include "geometry/object_list.h"
#include "patch/patch_object.h"

// The patch surfaces exported as triangle meshes through assimp's exporter, for programs that
// know nothing of patches.

namespace korvane {

// Writes the surfaces of objects to path in the format its extension names, in any case: .obj
// (with its .mtl beside it), .ply and .stl (binary), .gltf (with its .bin beside it) and .glb;
// tessellated as BuildSurfaceMesh does at surfaceResolution, from the smooth surfaces where
// smoothSurfaces asks for them, so the patches must be current: one
// mesh per object that has patches, named after the object, with the object's colour as its
// material's diffuse colour (.ply and .stl keep no colour). Points go out as (x, y, -z), as this
// program's axes meet those of the files assimp reads and writes, with the triangles turned to
// match.
//
// The files are put in place as one set (WriteFileSetAtomically): a failure leaves the files that
// were there as they were, and no new file behind. A name with another extension is refused as
// kCannotCreate.
WriteResult WriteSurfaceMesh(const std::string& path, const ObjectList<PatchObject>& objects,
                             std::int32_t surfaceResolution, bool smoothSurfaces = false);

}  // namespace korvane
