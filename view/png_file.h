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

bool WritePng(const RgbaImage& image, const std::string& path, std::string& error);
bool ReadPng(const std::string& path, RgbaImage& image, std::string& error);

}  // namespace korvane
