#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvane {

// The control points examined, as the connector's progress text "<name> <examined> / <total>"
// gives them for an object named `name`: the connector's only way of telling them. 0 when the
// text holds no count there.
std::int32_t ExaminedIn(std::string_view text, const std::string& name);

}  // namespace korvane
