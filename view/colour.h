#pragma once

#include <cstdint>

namespace korvane {

struct Rgb {
    float red;
    float green;
    float blue;
};

// A packed colour 0x00BBGGRR as three channels of byte / 255.
inline Rgb ColourToRgb(std::uint32_t colour) {
    return Rgb{static_cast<float>(colour & 0xFFu) / 255.0f,
               static_cast<float>((colour >> 8) & 0xFFu) / 255.0f,
               static_cast<float>((colour >> 16) & 0xFFu) / 255.0f};
}

}  // namespace korvane
