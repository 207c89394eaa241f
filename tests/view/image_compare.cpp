#include "image_compare.h"

#include <cstdlib>
#include <filesystem>

namespace korvane::testing {

ImageDifference CompareImages(const RgbaImage& actual, const RgbaImage& baseline) {
    ImageDifference result;
    result.sameSize = actual.width == baseline.width && actual.height == baseline.height &&
                      actual.pixels.size() == baseline.pixels.size();
    if (!result.sameSize || actual.pixels.empty()) {
        return result;
    }
    for (std::size_t at = 0; at < actual.pixels.size(); at += 4) {
        for (std::size_t channel = 0; channel < 3; ++channel) {
            if (std::abs(actual.pixels[at + channel] - baseline.pixels[at + channel]) >
                kChannelTolerance) {
                ++result.differingPixels;
                break;
            }
        }
    }
    result.differingFraction =
        static_cast<double>(result.differingPixels) / static_cast<double>(actual.pixels.size() / 4);
    return result;
}

std::string MatchBaseline(const RgbaImage& actual, const std::string& name,
                          const std::string& baselineDir, const std::string& actualDir) {
    const std::filesystem::path baselinePath = std::filesystem::path(baselineDir) / (name + ".png");
    const std::filesystem::path actualPath = std::filesystem::path(actualDir) / (name + ".png");
    std::string problem;
    RgbaImage baseline;
    std::string error;
    if (!ReadPng(baselinePath.string(), baseline, error)) {
        problem = "no baseline " + baselinePath.string() + " (" + error + ")";
    } else {
        const ImageDifference difference = CompareImages(actual, baseline);
        if (!difference.sameSize) {
            problem = "the image size differs from " + baselinePath.string();
        } else if (difference.differingFraction > kMaxDifferingFraction) {
            problem = std::to_string(difference.differingPixels) + " pixels (" +
                      std::to_string(difference.differingFraction * 100.0) + "%) differ from " +
                      baselinePath.string();
        }
    }
    if (problem.empty()) {
        return problem;
    }
    std::filesystem::create_directories(actualDir);
    if (WritePng(actual, actualPath.string(), error)) {
        problem += "; the actual image is " + actualPath.string();
    } else {
        problem += "; " + error;
    }
    return problem;
}

}  // namespace korvane::testing
