#include <gtest/gtest.h>

#include "cli/command_line.h"

namespace korvane::cli {
namespace {

std::optional<CommandLine> Parse(std::vector<std::string> args, std::string* errorOut = nullptr) {
    std::string error;
    auto line = ParseCommandLine(args, error);
    if (errorOut != nullptr) {
        *errorOut = error;
    }
    EXPECT_EQ(line.has_value(), error.empty()) << error;
    return line;
}

TEST(CommandLineTest, ConvertTakesInputsInOrderAndTheOutput) {
    const auto line = Parse({"convert", "a.mqo", "-o", "out.rvp", "b.lwo", "--connect", "150"});
    ASSERT_TRUE(line);
    EXPECT_EQ(line->command, Command::kConvert);
    EXPECT_EQ(line->inputs, (std::vector<std::string>{"a.mqo", "b.lwo"}));
    EXPECT_EQ(line->output, "out.rvp");
    ASSERT_TRUE(line->connectDegrees);
    EXPECT_EQ(*line->connectDegrees, 150.0f);
    EXPECT_EQ(line->resolution, DisplaySettings().surfaceResolution);

    const auto mesh = Parse({"convert", "a.mqo", "-o", "out.Glb", "--resolution", "3"});
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->resolution, 3);
}

TEST(CommandLineTest, InfoAndRenderOptions) {
    const auto info = Parse({"info", "m.mqo", "--json"});
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->json);
    EXPECT_FALSE(info->connectDegrees);

    const auto render = Parse({"render", "m.mqo", "-o", "x.png", "--size", "320x200", "--vertices",
                               "--no-curves", "--surfaces", "--resolution", "4"});
    ASSERT_TRUE(render);
    EXPECT_EQ(render->width, 320);
    EXPECT_EQ(render->height, 200);
    EXPECT_TRUE(render->showVertices);
    EXPECT_FALSE(render->showCurves);
    EXPECT_TRUE(render->showSurfaces);
    EXPECT_EQ(render->resolution, 4);
}

// --smooth asks for the smooth surfaces wherever surfaces are written or drawn, and info for where
// they cannot be smooth; render draws the surfaces with it.
TEST(CommandLineTest, SmoothAppliesToSurfaceOutputsAndRender) {
    const struct {
        std::vector<std::string> args;
        bool showSurfaces;
    } kCases[] = {
        {{"convert", "a.mqo", "-o", "x.obj", "--smooth"}, false},
        {{"convert", "a.mqo", "--smooth", "-o", "x.GLTF", "--resolution", "2"}, false},
        {{"convert", "a.mqo", "-o", "x.stp", "--smooth"}, false},
        {{"convert", "a.mqo", "-o", "x.iges", "--smooth"}, false},
        {{"render", "a.mqo", "-o", "x.png", "--smooth"}, true},
        {{"info", "a.mqo", "--smooth", "--json"}, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.args[3]);
        const auto line = Parse(c.args);
        ASSERT_TRUE(line);
        EXPECT_TRUE(line->smoothSurfaces);
        EXPECT_EQ(line->showSurfaces, c.showSurfaces);
    }
    const auto plain = Parse({"render", "a.mqo", "-o", "x.png", "--surfaces"});
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->smoothSurfaces);
}

TEST(CommandLineTest, RenderCameraOptions) {
    const auto framed = Parse({"render", "m.mqo", "-o", "x.png"});
    ASSERT_TRUE(framed);
    EXPECT_FALSE(framed->headingDegrees);
    EXPECT_FALSE(framed->pitchDegrees);
    EXPECT_FALSE(framed->startCamera);

    const auto turned = Parse({"render", "m.mqo", "-o", "x.png", "--heading", "-400.5", "--pitch",
                               "-90", "--start-camera"});
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->headingDegrees, -400.5f);
    EXPECT_EQ(turned->pitchDegrees, -90.0f);
    EXPECT_TRUE(turned->startCamera);
}

TEST(CommandLineTest, WrongUsageIsRefusedWithAReason) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"frobnicate", "a.mqo"},
        {"convert", "a.mqo"},                        // no output
        {"convert", "-o", "x.rvp"},                  // no input
        {"convert", "a.mqo", "-o"},                  // output without value
        {"convert", "a.mqo", "-o", "x", "-o", "y"},  // two outputs
        {"info", "a.mqo", "-o", "x.rvp"},            // info writes nothing
        {"convert", "a.mqo", "-o", "x", "--json"},   // json is for info
        {"info", "a.mqo", "--connect", "200"},       // beyond a straight line
        {"info", "a.mqo", "--connect", "-1"},
        {"info", "a.mqo", "--connect", "nan"},
        {"info", "a.mqo", "--connect", "15O"},
        {"info", "a.mqo", "--size", "10x10"},
        {"render", "a.mqo", "-o", "x.png", "--size", "0x10"},
        {"render", "a.mqo", "-o", "x.png", "--size", "640"},
        {"render", "a.mqo", "-o", "x.png", "--resolution", "0"},
        {"info", "a.mqo", "--bogus"},
        {"--version", "extra"},
        {"render", "a.mqo", "-o", "x.png", "--pitch", "90.5"},  // beyond straight down
        {"render", "a.mqo", "-o", "x.png", "--pitch", "-91"},
        {"render", "a.mqo", "-o", "x.png", "--heading", "inf"},
        {"render", "a.mqo", "-o", "x.png", "--heading"},
        {"info", "a.mqo", "--heading", "10"},  // camera options are for render
        {"convert", "a.mqo", "-o", "x.rvp", "--start-camera"},
        {"convert", "a.mqo", "-o", "x.rvp", "--resolution", "2"},  // only for surface meshes
        {"convert", "a.mqo", "-o", "x.obj", "--resolution", "65"},
        {"info", "a.mqo", "--resolution", "2"},
        {"convert", "a.mqo", "-o", "x.rvp", "--smooth"},  // curves only
        {"convert", "a.mqo", "-o", "x.mdl", "--smooth"},
        {"convert", "a.mqo", "-o", "x.spt", "--smooth"},
        {"convert", "a.mqo", "-o", "/dev/stdout", "--smooth"},
    };
    for (const auto& args : wrong) {
        std::string error;
        EXPECT_FALSE(Parse(args, &error)) << (args.empty() ? "(none)" : args[0]);
        EXPECT_FALSE(error.empty());
    }
}

TEST(CommandLineTest, ConnectLimitsAtTheEndsOfTheRange) {
    for (const std::string value : {"0", "180", "179.5"}) {
        const auto line = Parse({"info", "a.mqo", "--connect", value});
        ASSERT_TRUE(line) << value;
        EXPECT_EQ(*line->connectDegrees, std::stof(value));
    }
}

}  // namespace
}  // namespace korvane::cli
