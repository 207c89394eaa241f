#include "cli/text_encoding.h"

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <vector>

namespace korvane::cli {
namespace {

struct CodeRange {
    std::uint32_t first;
    std::uint32_t last;
};

bool InRanges(std::uint32_t code, std::initializer_list<CodeRange> ranges) {
    for (const CodeRange& range : ranges) {
        if (code >= range.first && code <= range.last) {
            return true;
        }
    }
    return false;
}

int CodeWidth(std::uint32_t code) {
    // Combining marks, kana sound marks, zero-width spaces and joiners, variation selectors.
    if (InRanges(code, {{0x0300, 0x036F},
                        {0x1AB0, 0x1AFF},
                        {0x1DC0, 0x1DFF},
                        {0x200B, 0x200F},
                        {0x2060, 0x2064},
                        {0x20D0, 0x20FF},
                        {0x3099, 0x309A},
                        {0xFE00, 0xFE0F},
                        {0xFE20, 0xFE2F},
                        {0xFEFF, 0xFEFF}})) {
        return 0;
    }
    // Hangul jamo, CJK symbols, kana and ideographs, Hangul syllables, full-width forms (the
    // half-width katakana after U+FF60 stay narrow), pictographs.
    if (InRanges(code, {{0x1100, 0x115F},
                        {0x2E80, 0x303E},
                        {0x3041, 0x33FF},
                        {0x3400, 0x4DBF},
                        {0x4E00, 0x9FFF},
                        {0xA000, 0xA4CF},
                        {0xAC00, 0xD7A3},
                        {0xF900, 0xFAFF},
                        {0xFE30, 0xFE4F},
                        {0xFF00, 0xFF60},
                        {0xFFE0, 0xFFE6},
                        {0x1F300, 0x1F64F},
                        {0x1F900, 0x1F9FF},
                        {0x20000, 0x2FFFD},
                        {0x30000, 0x3FFFD}})) {
        return 2;
    }
    return 1;
}

}  // namespace

int DisplayWidth(std::string_view utf8) {
    int width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = Utf8SequenceLength(utf8, i);
        if (length == 0) {
            width += 1;
            i += 1;
            continue;
        }
        static constexpr std::uint8_t kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
        std::uint32_t code = static_cast<std::uint8_t>(utf8[i]) & kLeadMask[length];
        for (std::size_t k = 1; k < length; ++k) {
            code = (code << 6) | (static_cast<std::uint8_t>(utf8[i + k]) & 0x3F);
        }
        width += CodeWidth(code);
        i += length;
    }
    return width;
}

std::string HexBytes(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0F];
    }
    return out;
}

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto b = static_cast<std::uint8_t>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (b < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

}  // namespace korvane::cli
