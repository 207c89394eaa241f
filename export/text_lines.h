#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

// The text files of the spline-patch exports are built in memory line by line and written whole.

namespace korvane {

class TextLines {
  public:
    // lineEnd ends every line: "\r\n" for the formats of Windows programs.
    explicit TextLines(std::string_view lineEnd) : lineEnd_(lineEnd) {}

    // Room for about `bytes` of text, so that a big file is not copied as it grows.
    void Reserve(std::size_t bytes) { text_.reserve(bytes); }

    TextLines& Line(std::string_view text);  // text and a line end
    TextLines& Text(std::string_view text);
    TextLines& Integer(std::int64_t value);
    // The shortest decimal that reads back as the same float. Neither file format can hold a value
    // that is not finite (a damaged model's), so such a value is written as 0.
    TextLines& Number(float value);
    // scaled / 10^places, without trailing zeros: Decimal(-250, 3) is "-0.25". places <= 9.
    TextLines& Decimal(std::int64_t scaled, int places);
    TextLines& Space() { return Text(" "); }
    TextLines& End() { return Text(lineEnd_); }

    std::string Take() { return std::move(text_); }

  private:
    std::string lineEnd_;
    std::string text_;
};

}  // namespace korvane
