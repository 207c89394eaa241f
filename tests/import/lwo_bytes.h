#pragma once

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// Builds LightWave object files in memory: big-endian values and IFF chunks.

namespace korvane::testing {

inline std::string BigEndian(std::uint32_t value, int bytes) {
    std::string out;
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
    return out;
}

inline std::string Words(std::initializer_list<std::uint16_t> words) {
    std::string out;
    for (std::uint16_t word : words) {
        out += BigEndian(word, 2);
    }
    return out;
}

inline std::string Points(std::initializer_list<float> coordinates) {
    std::string out;
    for (float value : coordinates) {
        out += BigEndian(std::bit_cast<std::uint32_t>(value), 4);
    }
    return out;
}

// Layer number, flags and pivot, then the name with its NUL, padded to even length, then parent.
inline std::string LayerData(std::string_view name) {
    std::string out(16, '\0');
    out += name;
    out.push_back('\0');
    if (out.size() % 2 != 0) {
        out.push_back('\0');
    }
    return out + Words({0xFFFF});
}

inline std::string Chunk(std::string_view id, std::string_view data) {
    std::string out = std::string(id) + BigEndian(static_cast<std::uint32_t>(data.size()), 4);
    out += data;
    if (data.size() % 2 != 0) {
        out.push_back('\0');
    }
    return out;
}

inline std::string LwoFile(std::string_view formType, std::string_view chunks) {
    return "FORM" + BigEndian(static_cast<std::uint32_t>(chunks.size() + 4), 4) +
           std::string(formType) + std::string(chunks);
}

}  // namespace korvane::testing
