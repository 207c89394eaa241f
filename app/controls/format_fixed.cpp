#include "app/controls/format_fixed.h"

#include <algorithm>
#include <charconv>

namespace korvane {

std::string FormatFixed(double value, int decimals) {
    // to_chars gives printf's digits without depending on the process's LC_NUMERIC, which
    // QApplication sets from the environment. The widest double has 309 integer digits.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, std::clamp(decimals, 0, 60));
    return std::string(buffer, result.ptr);
}

}  // namespace korvane
