#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korvane {

// Object names are bytes in the code page of the model file: UTF-8 when they are valid UTF-8,
// otherwise Shift_JIS (code page 932), the code page of Japanese modellers. This is the one
// reading of them, in UTF-8, for every front end; undecodable bytes become U+FFFD.
std::string NameForReading(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

// The length of the UTF-8 sequence that starts at bytes[i], or 0 when it is not a valid one.
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t i);

}  // namespace korvane
