#pragma once

#include <string>
#include <vector>

#include "patch/patch_object.h"

namespace korvane {

// Checks the network's structural rules and returns one line per violation (empty when sound):
// - every node of every spline sits on a control point of the object and is matched by exactly one
//   reference (spline, node) on that point; every reference names a live spline of the object and
//   one of its nodes, and sits on that node's point;
// - every spline has at least two nodes, and a closed spline does not repeat its head at its tail;
// - the edges of every patch chain around it.
// [O(control points + nodes + references + patches)]
std::vector<std::string> CheckPatchInvariants(const PatchObject& object);

}  // namespace korvane
