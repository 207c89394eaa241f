#pragma once

#include <string>
#include <vector>

#include "patch/patch_object.h"

namespace korvane {

// Checks the network's structural rules and returns one line per violation (empty when sound):
// - splineStart and refStart run from 0 to the node and reference counts without going back, one
//   entry more than there are splines and points;
// - every node sits on a control point of the object and is matched by exactly one reference
//   (spline, node) on that point; every reference names a spline of the object and one of its
//   nodes, and sits on that node's point;
// - every spline has at least two nodes, and a closed spline does not repeat its head at its tail;
// - every patch has three or four corners whose nodes and splines exist, and its edges chain
//   around it.
// Reads nothing out of range on a broken object: with malformed starts only they are reported.
// [O(control points + nodes + references + patches)]
std::vector<std::string> CheckPatchInvariants(const PatchObject& object);

}  // namespace korvane
