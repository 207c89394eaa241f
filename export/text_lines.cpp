#include "export/text_lines.h"

#include <charconv>
#include <cmath>

namespace korvane {

TextLines& TextLines::Line(std::string_view text) {
    return Text(text).End();
}

TextLines& TextLines::Text(std::string_view text) {
    text_.append(text);
    return *this;
}

TextLines& TextLines::Integer(std::int64_t value) {
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, value);
    text_.append(digits, written.ptr);
    return *this;
}

TextLines& TextLines::Number(float value) {
    if (!std::isfinite(value)) {
        value = 0.0f;
    }
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, value);
    text_.append(digits, written.ptr);
    return *this;
}

TextLines& TextLines::Decimal(std::int64_t scaled, int places) {
    std::int64_t unit = 1;
    for (int i = 0; i < places; ++i) {
        unit *= 10;
    }
    const std::uint64_t magnitude =
        scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    std::uint64_t fraction = magnitude % static_cast<std::uint64_t>(unit);
    if (scaled < 0) {
        text_ += '-';
    }
    Integer(static_cast<std::int64_t>(magnitude / static_cast<std::uint64_t>(unit)));
    if (fraction != 0) {
        int digits = places;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
        char buffer[16];
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, fraction);
        text_ += '.';
        text_.append(static_cast<std::size_t>(digits - (written.ptr - buffer)), '0');
        text_.append(buffer, written.ptr);
    }
    return *this;
}

}  // namespace korvane
