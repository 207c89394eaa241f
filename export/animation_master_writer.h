#pragma once

#include <string>

#include "export/write_status.h"
#include "geometry/object_list.h"
#include "patch/patch_object.h"

// The Animation:Master (.mdl) export: one model whose mesh holds every object's splines and
// patches, with one group and one surface attribute per object, as text with CRLF line ends.
//
// Each spline node is one CP. Where several nodes meet at a control point, the first CP written
// there holds the position and the later ones are attached to it. CPs are smooth unless their node
// is a corner; no tangent biases are written, so A:M draws its own tangents through the same
// points. Positions keep the model's units with Z reversed (see ToAnimationMasterAxes). Objects
// without splines are left out; lone control points are lost.

namespace korvane {

// The whole file for objects, in list order. Their patches must be current.
std::string SerializeAnimationMaster(const ObjectList<PatchObject>& objects);

// Writes the file for objects at path, replacing any file there only once all of it is written.
WriteResult WriteAnimationMasterFile(const std::string& path,
                                     const ObjectList<PatchObject>& objects);

// The object's name as a group name: its bytes as read, with control characters (which would
// break the one-line value) as '_'; an empty name becomes "object" and the object's place in the
// document, counted from 1.
std::string AnimationMasterGroupName(const std::string& name, std::size_t place);

}  // namespace korvane
