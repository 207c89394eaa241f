#pragma once

#include <string>

namespace korvane {

// The value in fixed-point notation with the given number of digits after the point, as printf's
// "%0.<decimals>f" writes it in the C locale (a negative count is taken as 0).
std::string FormatFixed(double value, int decimals);

}  // namespace korvane
