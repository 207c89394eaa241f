#pragma once

#include <string>
#include <string_view>

namespace korvane::cli {

bool IsValidUtf8(std::string_view bytes);

// Object names are bytes in the code page of the model file: UTF-8 when they are valid UTF-8,
// otherwise Shift_JIS (code page 932), the code page of Japanese modellers. Undecodable bytes
// become U+FFFD.
std::string NameForReading(std::string_view bytes);

// The columns a terminal gives UTF-8 text: East Asian wide and full-width characters take two,
// combining marks and zero-width characters none, everything else one (a byte that is not valid
// UTF-8 too).
int DisplayWidth(std::string_view utf8);

// Lower-case hexadecimal of every byte.
std::string HexBytes(std::string_view bytes);

// A JSON string literal, quotes included.
std::string JsonString(std::string_view utf8);

}  // namespace korvane::cli
