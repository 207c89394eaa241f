#pragma once

#include <optional>
#include <string>
#include <vector>

#include "view/display_settings.h"

namespace korvane::cli {

enum class Command { kHelp, kVersion, kConvert, kInfo, kRender };

struct CommandLine {
    Command command = Command::kHelp;
    std::vector<std::string> inputs;
    std::string output;                   // -o
    std::optional<float> connectDegrees;  // --connect
    float scale = 1.0f;                   // --scale: for the formats read through assimp
    bool json = false;                    // info --json
    int width = 640;                      // render --size WxH
    int height = 480;
    bool showVertices = false;            // render --vertices
    bool showCurves = true;               // render --no-curves clears it
    bool showSurfaces = false;            // render --surfaces
    bool smoothSurfaces = false;          // render and surface-mesh or CAD convert --smooth
    std::optional<float> headingDegrees;  // render --heading: of the viewing direction
    std::optional<float> pitchDegrees;    // render --pitch: positive looking down
    bool startCamera = false;  // render --start-camera: the view's start camera, not framed
    // render and surface-mesh convert --resolution; the view's surface resolution by default
    int resolution = DisplaySettings().surfaceResolution;
};

// Parses argv; on a usage error returns nothing and sets error to one line.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments,
                                            std::string& error);

extern const char* const kUsageText;

}  // namespace korvane::cli
