#include "app/controls/number_text.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include <locale.h>

namespace korvane {

std::int32_t ReadIntText(std::string_view text) {
    const std::string copy(text);
    const long long value = std::strtoll(copy.c_str(), nullptr, 10);
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    if (value < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(value);
}

float ReadFloatText(std::string_view text) {
    // A decimal point is always '.', whatever locale the environment chose.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string copy(text);
    const double value = strtod_l(copy.c_str(), nullptr, cLocale);
    if (std::isnan(value)) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    if (value > FLT_MAX) {
        return std::numeric_limits<float>::infinity();
    }
    if (value < -FLT_MAX) {
        return -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

}  // namespace korvane
