#pragma once

#include <limits>

#include "oracles/literal_network.h"
#include "patch/curve_connector.h"

namespace korvane::testing {

// Curve connection exactly as first written, on linked records: one join per pass, every pass
// restarting from the first control point, references deleted and appended in place, the merged
// spline removed from the list after each join. Quadratic, but obviously faithful: the fast
// connector must give identical networks. Stops after maxJoins joins.
void LiteralConnectCurves(LiteralNetwork& network, float limitDegrees,
                          const ProgressReceiver& progress,
                          std::size_t maxJoins = std::numeric_limits<std::size_t>::max());

}  // namespace korvane::testing
