#pragma once

#include "patch/patch_object.h"

namespace korvane::testing {

// Patch detection exactly as first written: a depth-first walk through every reference of every
// point it reaches, each loop checked against the patch lists of its first corner. Slow on big
// networks, but plainly faithful: the fast detection must record the same patches, with the same
// edges, in the same order.
void LiteralDetectPatches(PatchObject& object);

}  // namespace korvane::testing
