#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/write_status.h"
#include "geometry/object_list.h"
#include "patch/patch_object.h"

// The patches as the exact surfaces they are, for CAD programs: STEP (AP214) and IGES, written
// through OpenCASCADE.

namespace korvane {

enum class CadFormat { kStep, kIges };

struct CadExportReport {
    WriteResult written;
    std::int64_t facesWritten = 0;
    std::int64_t patchesLeftOut = 0;          // degenerate patches (see BuildObjectShape)
    std::vector<std::string> objectsLeftOut;  // UTF-8 names of objects without a face
};

// Makes the document's export door write STEP and IGES through WriteCadFile. The front ends that
// link this library call it once at start.
void InstallCadWriters();

// Writes the patches of objects to path: each object one shell of faces on bicubic Bezier
// surfaces (three faces for a three-sided patch), a solid where the shell is closed, with the
// object's name and colour; objects without patches are left out. Coordinates are the model's
// with Z reversed, as the surface-mesh export writes them, in centimetres. IGES is written with
// its B-rep topology (faces, loops, shells, solids). The patches must be current.
//
// With smoothSurfaces the faces hold the smooth surfaces instead, as B-splines (see
// BuildSmoothPieceSurface) on the same edges.
//
// The file is replaced only once it is written whole. With nothing to write (no object has a
// patch) no file is written and the result says so.
CadExportReport WriteCadFile(const std::string& path, const ObjectList<PatchObject>& objects,
                             CadFormat format, bool smoothSurfaces = false);

}  // namespace korvane
