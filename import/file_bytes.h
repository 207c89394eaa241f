#pragma once

#include <string>

namespace korvane {

// Reads a whole file into `bytes`, opened read-only. False when the path cannot be opened or read
// (a missing file, a folder, no permission, a read error) or holds more than 1 GiB.
bool ReadFileBytes(const std::string& path, std::string& bytes);

}  // namespace korvane
