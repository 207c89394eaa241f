#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
    kStep,             // .step, .stp: the patches as exact surfaces, for CAD programs
    kIges,             // .igs, .iges: the same
};

// The format a file name asks for by its extension, in any case. Nothing for any other name.
std::optional<ExportFormat> ExportFormatOf(const std::string& path);

// Whether the format holds the patches, which must then be current when it is written; the others
// hold curves only.
bool WritesPatches(ExportFormat format);

struct ExportOptions {
    // The format to write; nothing: the one the path's extension names, and a ruvoPatch file for
    // a path without one of ours (a pipe, /dev/stdout).
    std::optional<ExportFormat> format{};
    // A surface mesh cuts every patch side into 2 x this many steps, as the view's surfaces do.
    std::int32_t surfaceResolution = 1;
    // A surface mesh, STEP and IGES hold the smooth surfaces, whose patches share their tangent
    // plane along the curves where the network is smooth, instead of the patches' Bezier nets.
    bool smoothSurfaces = false;
};

struct ExportReport {
    ExportFormat format = ExportFormat::kRuvoPatch;  // what was written, or would have been
    WriteStatus status = WriteStatus::kWritten;
    std::string error{};              // the system's description of a failure
    std::int32_t objectsWritten = 0;  // the objects that the file holds
    // What a format that writes faces left out: patches it cannot hold (a collapsed side), and by
    // name the objects without a face.
    std::int64_t patchesLeftOut = 0;
    std::vector<std::string> objectsLeftOut{};
};

// A writer that the core does not link (STEP and IGES, on OpenCASCADE). A front end that links one
// installs it before its first export; without it, exporting its formats fails with a message.
using ExternalWriter = ExportReport (*)(const std::string& path,
                                        const ObjectList<PatchObject>& objects, ExportFormat format,
                                        bool smoothSurfaces);
void InstallExternalWriter(ExportFormat format, ExternalWriter writer);

// The format an export of path with options writes.
ExportFormat FormatToWrite(const std::string& path, const ExportOptions& options);

// How many of objects a file of the format holds: every object in a ruvoPatch file, those with a
// curve in the spline-patch formats, those with a patch in the surface formats. Their patches must
// be current when the format writes them.
std::int32_t ObjectsTheFormatHolds(const ObjectList<PatchObject>& objects, ExportFormat format);

// Writes objects at path, replacing any file there only once all of it is written. A surface mesh
// takes its kind from the path's extension. The objects' patches must be current when the format
// writes them (Document::Export sees to that).
ExportReport ExportModelFile(const std::string& path, const ObjectList<PatchObject>& objects,
                             const ExportOptions& options);

}  // namespace korvane
