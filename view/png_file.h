#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane {

// 8-bit RGBA pixels, rows from top to bottom, 4 bytes per pixel.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// The PNG file's bytes in memory; on failure false with the reason.
bool EncodePng(const RgbaImage& image, std::vector<std::uint8_t>& bytes, std::string& error);
// Replaces the file at path only once the whole image is written, as the model export does; on
// failure error reads "cannot write PATH: reason".
bool WritePng(const RgbaImage& image, const std::string& path, std::string& error);
bool ReadPng(const std::string& path, RgbaImage& image, std::string& error);

}  // namespace korvane
