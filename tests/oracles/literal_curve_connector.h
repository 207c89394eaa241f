#pragma once

#include "patch/curve_connector.h"

namespace korvane::testing {

// Curve connection exactly as first written: one join per pass, every pass restarting from the
// first control point, all splines renumbered and the merged one removed by index after each join.
// Quadratic, but obviously faithful: the fast connector must give identical networks.
void LiteralConnectCurves(PatchObject& object, float limitDegrees,
                          const ProgressReceiver& progress);

}  // namespace korvane::testing
