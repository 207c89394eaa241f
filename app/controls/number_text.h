#pragma once

#include <cstdint>
#include <string_view>

namespace korvane {

// The number at the start of a field's text, read the way atoi and atof read it in the C locale
// (leading blanks, an optional sign, then as many digits as form a number; 0 when none do), but
// saturated where those leave the result undefined: an integer beyond 32 bits becomes the nearest
// 32-bit value, a float beyond the float range becomes an infinity of its sign.
std::int32_t ReadIntText(std::string_view text);
float ReadFloatText(std::string_view text);

}  // namespace korvane
