#include "export/text_lines.h"

#include <charconv>

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
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, value);
    text_.append(digits, written.ptr);
    return *this;
}

}  // namespace korvane
