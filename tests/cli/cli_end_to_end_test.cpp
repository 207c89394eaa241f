#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "cli_fixture.h"
#include "korvane_version.h"
#include "support/rvp_reader.h"

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

// info --smooth says where the smooth surfaces cannot be smooth: nowhere on a flat square, at
// every corner and along every edge of a cube; without it the counts are all there is.
TEST_F(CliTest, InfoSaysWhereTheSmoothSurfacesCannotBeSmooth) {
    const std::string cube = Write(
        "cube.mqo",
        "Metasequoia Document\nFormat Text Ver 1.0\nObject \"cube\" {\n\tvertex 8 {\n0 0 0\n10 0 "
        "0\n10 10 0\n0 10 0\n0 0 10\n10 0 10\n10 10 10\n0 10 10\n\t}\n\tface 6 {\n4 V(0 3 2 "
        "1)\n4 V(4 5 6 7)\n4 V(0 1 5 4)\n4 V(1 2 6 5)\n4 V(2 3 7 6)\n4 V(3 0 4 7)\n\t}\n}\nEof\n");
    const struct {
        std::string model;
        const char* line;
        long long pointsOffPlane;
        long long creaseSides;
    } kCases[] = {
        {Write("square.mqo", kSquare), "smooth surfaces of sq: smooth everywhere\n", 0, 0},
        {cube,
         "smooth surfaces of cube: 8 patch corners whose curve tangents lie in no one plane "
         "(worst 90 degrees out), 12 patch sides kept as creases\n",
         8, 12},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.line);
        const auto text = Cli({"info", c.model, "--smooth"});
        ASSERT_EQ(text.exitStatus, 0) << text.err;
        EXPECT_TRUE(text.out.ends_with(c.line)) << text.out;
        const auto json = Cli({"info", c.model, "--smooth", "--json"});
        ASSERT_EQ(json.exitStatus, 0) << json.err;
        EXPECT_EQ(JsonNumber(json.out, "points_off_plane"), c.pointsOffPlane);
        EXPECT_EQ(JsonNumber(json.out, "crease_sides"), c.creaseSides);
        EXPECT_EQ(JsonNumber(json.out, "points_off_plane", 1), c.pointsOffPlane) << "the totals";

        const auto plain = Cli({"info", c.model, "--json"});
        EXPECT_EQ(plain.out.find("smoothness"), std::string::npos);
    }
}

}  // namespace
}  // namespace korvane
