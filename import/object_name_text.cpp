#include "import/object_name_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <vector>

namespace korvane {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::string DecodeShiftJis(std::string_view bytes) {
    iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        converter = iconv_open("UTF-8", "SHIFT_JIS");
    }
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::string(bytes);
    }
    std::string out;
    std::vector<char> input(bytes.begin(), bytes.end());
    char* in = input.data();
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPointer = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter, &in, &inLeft, &outPointer, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPointer - buffer));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // An invalid or incomplete sequence: mark it and go on after its first byte.
            out += kReplacement;
            ++in;
            --inLeft;
        }
    }
    iconv_close(converter);
    return out;
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t i) {
    const auto lead = static_cast<std::uint8_t>(bytes[i]);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > bytes.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<std::uint8_t>(bytes[i + k]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (next & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return (code < minimum || code > 0x10FFFF || surrogate) ? 0 : length;
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8SequenceLength(bytes, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string NameForReading(std::string_view bytes) {
    return IsValidUtf8(bytes) ? std::string(bytes) : DecodeShiftJis(bytes);
}

}  // namespace korvane
