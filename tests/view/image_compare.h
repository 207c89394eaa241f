#pragma once

#include <string>

#include "view/png_file.h"

namespace korvane::testing {

// The comparison of a rendered frame with its baseline. A pixel differs when any of its red,
// green and blue channels is more than kChannelTolerance away from the baseline's; the images
// match when at most kMaxDifferingFraction of the pixels differ.
//   kChannelTolerance 16 of 255: lighting and colour interpolation of another Mesa version round
//     differently; a pixel of another colour (a line moved aside, a surface missing) is far beyond.
//   kMaxDifferingFraction 0.005: a long line rasterised one pixel aside along part of its length;
//     a missing object, axis or surface changes far more.
inline constexpr int kChannelTolerance = 16;
inline constexpr double kMaxDifferingFraction = 0.005;

struct ImageDifference {
    bool sameSize = false;
    long differingPixels = 0;
    double differingFraction = 1.0;
};

ImageDifference CompareImages(const RgbaImage& actual, const RgbaImage& baseline);

// Compares with baselineDir/name.png. On a mismatch or a missing baseline the actual image is
// written to actualDir/name.png, and the returned text says where; empty when they match.
std::string MatchBaseline(const RgbaImage& actual, const std::string& name,
                          const std::string& baselineDir, const std::string& actualDir);

}  // namespace korvane::testing
