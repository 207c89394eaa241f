#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korvane {

// An object's name as UTF-8 for a CAD file, read as NameForReading reads every name. Control
// characters, which a STEP or IGES string cannot hold, become '_'; an empty name becomes "object"
// and the object's place counted from 1.
std::string CadObjectName(std::string_view bytes, std::size_t place);

}  // namespace korvane
