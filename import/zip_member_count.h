#pragma once

#include <cstdint>
#include <string_view>

namespace korvane {

// Whether a zip archive has more than `limit` members, told from its end records and the central
// directories they point at, without reading any member. A zip reader searches the archive's last
// 64 KiB for end records and may read the directory of every one it finds, entry after entry for
// as long as entries follow; so every end record there counts, with whatever its directory holds
// and whatever a Zip64 end record declares. Counting stops once the limit is passed, so that the
// time taken is bounded by the limit, not by the archive.
bool HoldsMoreMembersThan(std::string_view archive, std::uint64_t limit);

}  // namespace korvane
