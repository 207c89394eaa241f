#pragma once

#include <string>

#include "patch/patch_object.h"

namespace korvane {

// Checks the network of an object as read from a file, whose references still name their node by
// its position within its spline, as the file does, and makes each name the node's index in
// `nodes` instead. Returns the first way in which the references do not hold together, as one
// line, leaving the object half resolved and fit only to be dropped; empty when they do. A sound
// network has every spline of at least two nodes, a closed one not repeating its head at its
// tail; every node on a control point of the object; every reference naming a node that sits on
// the referring point; and every node referred to exactly once. These are the rules Connect
// Curve, patch detection and the export rely on. Needs splineStart and refStart as the parser
// fills them.
std::string LinkReferences(PatchObject& object);

}  // namespace korvane
