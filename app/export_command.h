#pragma once

class QWidget;

namespace korvane {

class UserDialogs;

// Export ruvoPatch: asks for a .rvp file and writes every object of the document to it. A file
// that cannot be created or written is reported in the user's language with its name and the
// system's reason; a cancel does nothing.
void RunExportRuvoPatch(UserDialogs& dialogs, QWidget* owner);

// Export Animation Master and Export sPatch: the same for an Animation:Master model (.mdl) and an
// sPatch file (.spt).
void RunExportAnimationMaster(UserDialogs& dialogs, QWidget* owner);
void RunExportSPatch(UserDialogs& dialogs, QWidget* owner);

// Export Surface Mesh: the same for the patch surfaces as a mesh, at the view's surface
// resolution; the file's extension (.obj, .ply, .stl, .gltf, .glb) chooses the format.
void RunExportSurfaceMesh(UserDialogs& dialogs, QWidget* owner);

// Export STEP and Export IGES: the same for the patches as exact surfaces for CAD programs.
void RunExportStep(UserDialogs& dialogs, QWidget* owner);
void RunExportIges(UserDialogs& dialogs, QWidget* owner);

}  // namespace korvane
