#include "export/cad/object_name.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <vector>

namespace korvane {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The length of the UTF-8 sequence at bytes[i], or 0 when none starts there.
std::size_t Utf8Length(std::string_view bytes, std::size_t i) {
    const auto lead = static_cast<std::uint8_t>(bytes[i]);
    std::size_t length = 0;
    std::uint32_t code = 0;
    std::uint32_t minimum = 0;
    if (lead < 0x80) {
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1Fu, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0Fu, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07u, minimum = 0x10000;
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
        code = code << 6 | (next & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < minimum || code > 0x10FFFF || surrogate ? 0 : length;
}

bool IsUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8Length(bytes, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string FromShiftJis(std::string_view bytes) {
    iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::string(bytes.size(), '?');
    }
    std::vector<char> input(bytes.begin(), bytes.end());
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::string out;
    char buffer[256];
    while (inLeft > 0) {
        char* outAt = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter, &in, &inLeft, &outAt, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outAt - buffer));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out += kReplacement;  // a byte of no character: skipped, and the rest read on
            ++in;
            --inLeft;
        }
    }
    iconv_close(converter);
    return out;
}

}  // namespace

std::string CadObjectName(std::string_view bytes, std::size_t place) {
    if (bytes.empty()) {
        return "object" + std::to_string(place + 1);
    }
    std::string name = IsUtf8(bytes) ? std::string(bytes) : FromShiftJis(bytes);
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '_';
        }
    }
    return name;
}

}  // namespace korvane
