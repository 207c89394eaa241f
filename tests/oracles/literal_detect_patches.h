#pragma once

#include <vector>

#include "oracles/literal_network.h"

namespace korvane::testing {

// Patch detection exactly as first written, on linked records: a depth-first walk through every
// reference of every point it reaches, each loop checked against the patch lists of its first
// corner. Slow on big networks, but plainly faithful: the fast detection must record the same
// patches, with the same edges, in the same order.
std::vector<PatchShape> LiteralDetectPatches(const LiteralNetwork& network);

}  // namespace korvane::testing
