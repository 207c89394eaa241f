#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <filesystem>
#include <fstream>
#include <regex>

#include "cli_fixture.h"
#include "korvane_version.h"
#include "support/rvp_reader.h"
#include "view/png_file.h"

namespace korvane {
namespace {

using testing::Cli;
using testing::CliTest;
using testing::JsonNumber;
using testing::kSquare;
using testing::Occurrences;
using testing::ReadWholeFile;
namespace fs = std::filesystem;

TEST_F(CliTest, HelpAndVersion) {
    const auto version = Cli({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, std::string(kProductAndVersion) + "\n");
    EXPECT_TRUE(std::regex_match(version.out, std::regex("Korvane [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << version.out;
    const auto help = Cli({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("convert INPUT..."), std::string::npos);
}

TEST_F(CliTest, WrongUsageExitsWithOneAndOneReason) {
    const auto result = Cli({"convert", "x.mqo"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("-o"), std::string::npos);
    EXPECT_EQ(Cli({}).exitStatus, 1);
}

TEST_F(CliTest, UnreadableInputsExitWithTwoNamingTheFile) {
    const std::string missing = (dir_ / "missing.mqo").string();
    const std::string text = Write("notes.mqo", "just some words\n");
    const std::string empty = Write("empty.lwo", "");
    for (const std::string& input : {missing, text, empty, dir_.string()}) {
        const auto result = Cli({"info", input});
        EXPECT_EQ(result.exitStatus, 2) << input;
        EXPECT_NE(result.err.find(input), std::string::npos) << result.err;
        EXPECT_EQ(Occurrences(result.err, "\n"), 1) << result.err;
        EXPECT_TRUE(result.out.empty());
    }
    // Nothing is written when an input fails, even after a good one.
    const std::string output = (dir_ / "out.rvp").string();
    const auto result = Cli({"convert", Write("sq.mqo", kSquare), missing, "-o", output});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(CliTest, InfoCountsPointsSplinesAndPatches) {
    const std::string square = Write("sq.mqo", kSquare);
    const auto plain = Cli({"info", square, "--json"});
    ASSERT_EQ(plain.exitStatus, 0) << plain.err;
    EXPECT_EQ(JsonNumber(plain.out, "control_points"), 4);
    EXPECT_EQ(JsonNumber(plain.out, "splines"), 4);
    EXPECT_EQ(JsonNumber(plain.out, "nodes"), 8);
    EXPECT_EQ(JsonNumber(plain.out, "quad_patches"), 1);
    EXPECT_EQ(JsonNumber(plain.out, "tri_patches"), 0);
    EXPECT_NE(plain.out.find("\"name\": \"sq\""), std::string::npos);
    EXPECT_NE(plain.out.find("\"name_hex\": \"7371\""), std::string::npos);

    // Connected at 80 degrees the square's edges become one closed curve, which alone is no patch.
    const auto joined = Cli({"info", square, "--json", "--connect", "80"});
    ASSERT_EQ(joined.exitStatus, 0) << joined.err;
    EXPECT_EQ(JsonNumber(joined.out, "splines"), 1);
    EXPECT_EQ(JsonNumber(joined.out, "closed_splines"), 1);
    EXPECT_EQ(JsonNumber(joined.out, "nodes"), 4);
    EXPECT_EQ(JsonNumber(joined.out, "quad_patches"), 0);

    // Two inputs append to one document.
    const auto twice = Cli({"info", square, square, "--json"});
    ASSERT_EQ(twice.exitStatus, 0);
    EXPECT_EQ(JsonNumber(twice.out, "objects"), 2);
    EXPECT_EQ(JsonNumber(twice.out, "control_points", 2), 8);  // the totals
}

TEST_F(CliTest, ConvertWritesAFileThatReadsBack) {
    const std::string output = (dir_ / "sq.rvp").string();
    const auto result = Cli({"convert", Write("sq.mqo", kSquare), "-o", output});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const std::string bytes = ReadWholeFile(output);
    testing::RvpReader reader(bytes);
    const auto objects = reader.Read();
    ASSERT_TRUE(objects) << reader.error();
    ASSERT_EQ(objects->size(), 1u);
    EXPECT_EQ((*objects)[0].name, "sq");
    EXPECT_EQ((*objects)[0].points.size(), 4u);
    EXPECT_EQ((*objects)[0].splines.size(), 4u);
    EXPECT_FLOAT_EQ((*objects)[0].points[1].x, 1.0f);  // file units times 0.1
    EXPECT_TRUE(testing::CheckRvpObject((*objects)[0]).empty());
}

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

    EXPECT_EQ(render({"--start-camera"}).count, 0) << "the start camera looks past the square";

    // Seen along +X or from straight above, the upright square is an edge: a line.
    const Extent side = render({"--heading", "90", "--pitch", "0"});
    EXPECT_LE(side.Width(), 3);
    EXPECT_GE(side.Height(), height * 8 / 10);
    const Extent above = render({"--pitch", "90"});
    EXPECT_GE(above.Width(), width * 8 / 10);
    EXPECT_LE(above.Height(), 3);
}

TEST_F(CliTest, EveryCorpusModelConvertsAndReadsBackWithTheSameCounts) {
    const auto files = testing::ModelFilesUnder({KORVANE_CORPUS_DIR});
    if (files.empty()) {
        GTEST_SKIP() << "no corpus at " << KORVANE_CORPUS_DIR;
    }
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const std::string output = (dir_ / (file.stem().string() + ".rvp")).string();
        const auto converted = Cli({"convert", file.string(), "-o", output, "--connect", "150"});
        ASSERT_EQ(converted.exitStatus, 0) << converted.err;
        const auto info = Cli({"info", file.string(), "--json", "--connect", "150"});
        ASSERT_EQ(info.exitStatus, 0) << info.err;

        const std::string bytes = ReadWholeFile(output);
        testing::RvpReader reader(bytes);
        const auto objects = reader.Read();
        ASSERT_TRUE(objects) << reader.error();
        const long long objectCount = JsonNumber(info.out, "objects");
        ASSERT_EQ(static_cast<long long>(objects->size()), objectCount);
        long long points = 0, splines = 0, nodes = 0, closed = 0;
        for (std::size_t i = 0; i < objects->size(); ++i) {
            const auto& object = (*objects)[i];
            EXPECT_TRUE(testing::CheckRvpObject(object).empty()) << object.name;
            EXPECT_EQ(static_cast<long long>(object.points.size()),
                      JsonNumber(info.out, "control_points", static_cast<int>(i)));
            points += static_cast<long long>(object.points.size());
            splines += static_cast<long long>(object.splines.size());
            for (const auto& spline : object.splines) {
                nodes += static_cast<long long>(spline.nodes.size());
                closed += spline.closed;
            }
        }
        const int totals = static_cast<int>(objects->size());
        EXPECT_EQ(points, JsonNumber(info.out, "control_points", totals));
        EXPECT_EQ(splines, JsonNumber(info.out, "splines", totals));
        EXPECT_EQ(nodes, JsonNumber(info.out, "nodes", totals));
        EXPECT_EQ(closed, JsonNumber(info.out, "closed_splines", totals));
    }
}

TEST_F(CliTest, MikuHasSeventeenObjects) {
    const fs::path miku = fs::path(KORVANE_CORPUS_DIR) / "mqo" / "miku.mqo";
    if (!fs::exists(miku)) {
        GTEST_SKIP() << "corpus model missing";
    }
    const auto info = Cli({"info", miku.string(), "--connect", "150", "--json"});
    ASSERT_EQ(info.exitStatus, 0) << info.err;
    EXPECT_EQ(JsonNumber(info.out, "objects"), 17);
    EXPECT_EQ(Occurrences(info.out, "\"name_hex\""), 17);
}

}  // namespace
}  // namespace korvane
