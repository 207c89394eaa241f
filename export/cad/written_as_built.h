#pragma once

namespace korvane {

// Makes OpenCASCADE's STEP and IGES writers take shapes as they are given, without their shape
// processing (reading still does its own). The shapes this library builds need none of it:
// DirectFaces turns elementary surfaces with left-handed axes, SplitCommonVertex parts the wires
// of a face that share a vertex, and these faces lie on Bezier surfaces with one wire each. On a
// compound of many shells the processing's record of what it changed takes time that grows with
// the square of the shells: minutes for a model of 70,000 faces. Process-wide; idempotent.
void WriteShapesAsBuilt();

}  // namespace korvane
