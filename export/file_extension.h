#pragma once

#include <string>

namespace korvane {

// The extension of the file a path names, lower case and without its dot: what follows the last
// dot of the last path component ("model.Tar.GZ" gives "gz"); empty when that component has no
// dot.
std::string LowerCaseExtension(const std::string& path);

}  // namespace korvane
