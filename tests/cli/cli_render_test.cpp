#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <filesystem>
#include <fstream>
#include <regex>

#include "cli_fixture.h"
#include "view/png_file.h"

// The commands that draw through OpenGL (render, and the output checks they share with convert).
// Mesa keeps allocations that leak checks cannot tell from ours, so these run as OpenGL tests.

namespace korvane {
namespace {

using testing::Cli;
using testing::CliTest;
using testing::kSquare;
using testing::Occurrences;
using testing::ReadWholeFile;
namespace fs = std::filesystem;

TEST_F(CliTest, UnwritableOutputExitsWithThreeAndKeepsTheOldFile) {
    const std::string square = Write("sq.mqo", kSquare);
    for (const std::string command : {"convert", "render"}) {
        SCOPED_TRACE(command);
        const std::string extension = command == "convert" ? ".rvp" : ".png";
        // Both commands word it alike and name the path once.
        const std::string missing = (dir_ / "no" / ("such" + extension)).string();
        const auto noFolder = Cli({command, square, "-o", missing});
        EXPECT_EQ(noFolder.exitStatus, 3);
        EXPECT_EQ(noFolder.err,
                  "korvane-cli: cannot write " + missing + ": No such file or directory\n");

        // A directory in the way cannot be replaced; it and its contents stay.
        const fs::path blocked = dir_ / ("blocked" + extension);
        fs::create_directories(blocked);
        std::ofstream(blocked / "keep.txt") << "keep";
        const auto result = Cli({command, square, "-o", blocked.string()});
        EXPECT_EQ(result.exitStatus, 3);
        EXPECT_EQ(result.err.rfind("korvane-cli: cannot write " + blocked.string() + ": ", 0), 0u)
            << result.err;
        EXPECT_EQ(Occurrences(result.err, blocked.string()), 1) << result.err;
        EXPECT_EQ(ReadWholeFile(blocked / "keep.txt"), "keep");
        for (const auto& entry : fs::directory_iterator(dir_)) {
            EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
                << "temporary file left behind: " << entry.path();
        }
    }
}

// Where pixels of one colour lie in an image: their bounding rectangle and their number.
struct Extent {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1, count = 0;
    int Width() const { return count == 0 ? 0 : right - left + 1; }
    int Height() const { return count == 0 ? 0 : bottom - top + 1; }
};

Extent ExtentOf(const RgbaImage& image, const std::array<int, 3>& rgb) {
    Extent extent;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p =
                &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 4];
            if (p[0] == rgb[0] && p[1] == rgb[1] && p[2] == rgb[2]) {
                extent = {std::min(extent.left, x), std::min(extent.top, y),
                          std::max(extent.right, x), std::max(extent.bottom, y), extent.count + 1};
            }
        }
    }
    return extent;
}

TEST_F(CliTest, RenderFramesTheWholeModelFromTheAskedDirection) {
    // A 10 x 10 square upright in the plane z = 30, far from the origin the start camera aims at.
    const std::string square =
        Write("far.mqo",
              "Metasequoia Document\nFormat Text Ver 1.0\n\nObject \"far\" {\n\tvertex 4 {\n"
              "\t\t1000 500 300\n\t\t1100 500 300\n\t\t1100 600 300\n\t\t1000 600 300\n\t}\n"
              "\tface 1 {\n\t\t4 V(0 1 2 3)\n\t}\n}\nEof\n");
    const auto info = Cli({"info", square, "--json"});
    std::smatch rgb;
    ASSERT_TRUE(
        std::regex_search(info.out, rgb, std::regex("\"rgb\": \\[(\\d+), (\\d+), (\\d+)\\]")))
        << info.out;
    const std::array<int, 3> colour = {std::stoi(rgb[1]), std::stoi(rgb[2]), std::stoi(rgb[3])};

    const int width = 200;
    const int height = 150;
    auto render = [&](std::vector<std::string> options) {
        const std::string output = (dir_ / "frame.png").string();
        std::vector<std::string> args = {"render", square, "-o", output, "--size", "200x150"};
        args.insert(args.end(), options.begin(), options.end());
        const auto result = Cli(args);
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        RgbaImage image;
        std::string error;
        EXPECT_TRUE(ReadPng(output, image, error)) << error;
        EXPECT_EQ(image.width, width);
        return ExtentOf(image, colour);
    };

    const Extent framed = render({});
    ASSERT_GT(framed.count, 0);
    EXPECT_GT(framed.left, 0);
    EXPECT_GT(framed.top, 0);
    EXPECT_LT(framed.right, width - 1);
    EXPECT_LT(framed.bottom, height - 1);
    EXPECT_GE(std::max(framed.Width() * height, framed.Height() * width), 8 * width * height / 10)
        << "the model should fill the frame";

    const std::string unseen = (dir_ / "unseen.png").string();
    const auto pastIt =
        Cli({"render", square, "-o", unseen, "--size", "200x150", "--start-camera"});
    EXPECT_EQ(pastIt.exitStatus, 3) << "the start camera looks past the square";
    EXPECT_NE(pastIt.err.find("nothing of the model would be seen"), std::string::npos)
        << pastIt.err;
    EXPECT_FALSE(fs::exists(unseen));

    // Seen along +X or from straight above, the upright square is an edge: a line.
    const Extent side = render({"--heading", "90", "--pitch", "0"});
    EXPECT_LE(side.Width(), 3);
    EXPECT_GE(side.Height(), height * 8 / 10);
    const Extent above = render({"--pitch", "90"});
    EXPECT_GE(above.Width(), width * 8 / 10);
    EXPECT_LE(above.Height(), 3);
}

// --smooth draws the smooth surfaces, by itself or with --surfaces, instead of today's.
TEST_F(CliTest, RenderSmoothDrawsTheSmoothSurfaces) {
    const std::string head = std::string(KORVANE_EXAMPLES_DIR) + "/head.mqo";
    const auto render = [&](const std::vector<std::string>& options) {
        const std::string output = (dir_ / "head.png").string();
        std::vector<std::string> args = {"render",  head,        "-o",  output,       "--size",
                                         "240x180", "--connect", "150", "--no-curves"};
        args.insert(args.end(), options.begin(), options.end());
        const auto result = Cli(args);
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        return ReadWholeFile(output);
    };
    const std::string today = render({"--surfaces"});
    const std::string smooth = render({"--smooth"});
    EXPECT_FALSE(smooth.empty());
    EXPECT_EQ(render({"--surfaces", "--smooth"}), smooth);
    EXPECT_NE(smooth, today);
}

TEST_F(CliTest, RenderShowsAModelOfAnySizeWhole) {
    // Metasequoia coordinates are a tenth of the model's: these squares are 20,000 and 0.02 across.
    struct Case {
        const char* what;
        const char* half;  // half the square's side in the file
    };
    const Case cases[] = {{"in centimetres, 20,000 across", "100000"},
                          {"0.02 across", "0.1"},
                          {"of ordinary size", "50"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string h = c.half;
        const std::string square = Write(
            "sized.mqo",
            "Metasequoia Document\nFormat Text Ver 1.0\n\nObject \"s\" {\n\tvertex 4 "
            "{\n\t\t-" +
                h + " -" + h + " 0\n\t\t" + h + " -" + h + " 0\n\t\t" + h + " " + h + " 0\n\t\t-" +
                h + " " + h + " 0\n\t}\n\tface 1 {\n\t\t4 V(0 1 2 3)\n\t}\n}\nEof\n");
        const std::string output = (dir_ / "sized.png").string();
        const auto result =
            Cli({"render", square, "-o", output, "--size", "160x120", "--surfaces"});
        ASSERT_EQ(result.exitStatus, 0) << result.err;
        RgbaImage image;
        std::string error;
        ASSERT_TRUE(ReadPng(output, image, error)) << error;
        // The lit square covers the frame's middle, whatever its size; this pixel lies below and
        // left of the centre, clear of the axis cross.
        const std::size_t middle = (static_cast<std::size_t>(image.height * 5 / 8) * image.width +
                                    static_cast<std::size_t>(image.width * 3 / 8)) *
                                   4;
        const std::array<int, 3> background = {0x64, 0x64, 0x64};
        bool differs = false;
        for (int channel = 0; channel < 3; ++channel) {
            differs = differs || image.pixels[middle + channel] != background[channel];
        }
        EXPECT_TRUE(differs) << "the middle of the frame shows the background";
    }
}

}  // namespace
}  // namespace korvane
