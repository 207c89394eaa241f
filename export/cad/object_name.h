#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korvane {

// An object's name as UTF-8 for a CAD file. Names are the bytes a model file held: UTF-8 when they
// are valid UTF-8, otherwise Shift_JIS (code page 932), the code page of older Japanese models,
// with U+FFFD for bytes that are neither. Control characters, which a STEP or IGES string cannot
// hold, become '_'; an empty name becomes "object" and the object's place counted from 1.
std::string CadObjectName(std::string_view bytes, std::size_t place);

}  // namespace korvane
