#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "cli_fixture.h"
#include "support/mdl_reader.h"
#include "support/spt_reader.h"

// korvane-cli convert writing Animation:Master and sPatch files.

namespace korvane {
namespace {

using testing::Cli;
using testing::CliTest;
using testing::ReadWholeFile;

// What info counts in total for the model.
struct Counts {
    long long controlPoints, splines, closedSplines, nodes, triPatches, quadPatches;
};

Counts CountsOf(const std::string& json) {
    const std::string totals = json.substr(json.find("\"totals\""));
    const auto total = [&totals](const char* key) { return testing::JsonNumber(totals, key); };
    return {total("control_points"), total("splines"),     total("closed_splines"),
            total("nodes"),          total("tri_patches"), total("quad_patches")};
}

void ExpectAnimationMaster(const std::string& path, const Counts& counts) {
    testing::MdlReader reader(ReadWholeFile(path));
    const std::optional<testing::MdlFile> file = reader.Read();
    ASSERT_TRUE(file) << reader.error();
    EXPECT_TRUE(testing::MdlProblems(*file).empty());
    long long cps = 0, closed = 0, triangles = 0;
    for (const auto& spline : file->splines) {
        cps += static_cast<long long>(spline.size());
        closed += (spline.back().flags & 4) != 0 ? 1 : 0;
    }
    for (const testing::MdlPatch& patch : file->patches) {
        triangles += patch.IsTriangle() ? 1 : 0;
    }
    EXPECT_EQ(static_cast<long long>(file->splines.size()), counts.splines);
    EXPECT_EQ(cps, counts.nodes);
    EXPECT_EQ(closed, counts.closedSplines);
    EXPECT_EQ(triangles, counts.triPatches);
    EXPECT_EQ(static_cast<long long>(file->patches.size()) - triangles, counts.quadPatches);
}

void ExpectSPatch(const std::string& path, const Counts& counts) {
    testing::SptReader reader(ReadWholeFile(path));
    const std::optional<testing::SptFile> file = reader.Read();
    ASSERT_TRUE(file) << reader.error();
    EXPECT_TRUE(testing::SptProblems(*file).empty());
    long long nodes = 0, closed = 0;
    for (const testing::SptCurve& curve : file->curves) {
        nodes += static_cast<long long>(curve.nodes.size());
        closed += curve.closed ? 1 : 0;
    }
    EXPECT_EQ(static_cast<long long>(file->points.size()), counts.controlPoints);
    EXPECT_EQ(static_cast<long long>(file->curves.size()), counts.splines);
    EXPECT_EQ(nodes, counts.nodes);
    EXPECT_EQ(closed, counts.closedSplines);
}

TEST_F(CliTest, ConvertWritesTheSplinePatchFormatThatTheExtensionNames) {
    // Two objects, with closed splines and 3-point patches among them.
    const std::string head = std::string(KORVANE_EXAMPLES_DIR) + "/head.mqo";
    const std::string torus = std::string(KORVANE_EXAMPLES_DIR) + "/torus.mqo";
    const auto info = Cli({"info", head, torus, "--json", "--connect", "150"});
    ASSERT_EQ(info.exitStatus, 0) << info.err;
    const Counts counts = CountsOf(info.out);
    ASSERT_GT(counts.closedSplines, 0);
    ASSERT_GT(counts.triPatches, 0);
    const std::pair<const char*, void (*)(const std::string&, const Counts&)> formats[] = {
        {".mdl", ExpectAnimationMaster},
        {".MDL", ExpectAnimationMaster},
        {".spt", ExpectSPatch},
        {".Spt", ExpectSPatch}};
    for (const auto& [extension, expect] : formats) {
        SCOPED_TRACE(extension);
        const std::string output = (dir_ / (std::string("head") + extension)).string();
        const auto converted = Cli({"convert", head, torus, "-o", output, "--connect", "150"});
        ASSERT_EQ(converted.exitStatus, 0) << converted.err;
        EXPECT_EQ(converted.err, "");
        expect(output, counts);

        const std::string missing = (dir_ / "no" / (std::string("head") + extension)).string();
        const auto noFolder = Cli({"convert", head, "-o", missing});
        EXPECT_EQ(noFolder.exitStatus, 3);
        EXPECT_EQ(noFolder.err,
                  "korvane-cli: cannot write " + missing + ": No such file or directory\n");
    }
}

}  // namespace
}  // namespace korvane
