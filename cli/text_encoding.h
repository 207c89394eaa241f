#pragma once

#include <string>
#include <string_view>

#include "import/object_name_text.h"

namespace korvane::cli {

// The columns a terminal gives UTF-8 text: East Asian wide and full-width characters take two,
// combining marks and zero-width characters none, everything else one (a byte that is not valid
// UTF-8 too).
int DisplayWidth(std::string_view utf8);

// Lower-case hexadecimal of every byte.
std::string HexBytes(std::string_view bytes);

// A JSON string literal, quotes included.
std::string JsonString(std::string_view utf8);

}  // namespace korvane::cli
