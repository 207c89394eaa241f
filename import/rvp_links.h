#pragma once

#include <string>

#include "import/rvp_network.h"

namespace korvane {

// The first way in which the network's references do not hold together, as one line; empty when
// they do. A sound network has every spline of at least two nodes, a closed one not repeating its
// head at its tail; every node on a control point of the object; every reference naming a node
// that sits on the referring point; and every node referred to exactly once. These are the rules
// Connect Curve, patch detection and the export rely on.
std::string FindBrokenLink(const RvpNetwork& network);

}  // namespace korvane
