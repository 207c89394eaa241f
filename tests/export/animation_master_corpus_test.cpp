#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include "support/mdl_reader.h"

// The rules the exporter follows, checked on models that Animation:Master itself saved: if the
// reader or a rule were wrong about A:M's layout, these files would say so.

namespace korvane {
namespace {

namespace fs = std::filesystem;
using testing::MdlFile;
using testing::MdlProblems;
using testing::MdlReader;

const fs::path kCorpus = fs::path(KORVANE_CORPUS_DIR) / "mdl";

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::optional<MdlFile> ReadCorpusFile(const std::string& name) {
    MdlReader reader(ReadBytes(kCorpus / name));
    std::optional<MdlFile> file = reader.Read();
    EXPECT_TRUE(file.has_value()) << name << ": " << reader.error();
    return file;
}

struct CorpusModel {
    const char* file;
    std::size_t splines, cps, closedSplines, patches, threePointPatches, normals;
};

// Counted once from the files; the closed splines are those whose last CP has bit 4 set.
constexpr CorpusModel kCorpusModels[] = {
    {"8Patch_Sphere.mdl", 7, 24, 3, 8, 0, 12},  {"Cube.mdl", 6, 48, 6, 26, 8, 6},
    {"Goose.mdl", 187, 1006, 45, 450, 51, 902}, {"Grid_4x4.mdl", 8, 48, 0, 16, 0, 1},
    {"Groundplane.mdl", 12, 72, 0, 25, 0, 1},   {"Torus.mdl", 8, 32, 8, 16, 0, 6}};

TEST(AnimationMasterCorpusTest, EveryModelKeepsTheRulesTheExportFollows) {
    if (!fs::is_directory(kCorpus)) {
        GTEST_SKIP() << "no corpus at " << kCorpus;
    }
    for (const CorpusModel& model : kCorpusModels) {
        SCOPED_TRACE(model.file);
        const std::optional<MdlFile> file = ReadCorpusFile(model.file);
        if (!file) {
            continue;
        }
        EXPECT_EQ(file->models, 1);
        EXPECT_EQ(file->meshes, 1);
        EXPECT_EQ(file->release, " PC");
        const std::vector<std::string> problems = MdlProblems(*file);
        EXPECT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems[0];

        std::size_t cps = 0, closed = 0, triangles = 0;
        for (const auto& spline : file->splines) {
            cps += spline.size();
            closed += (spline.back().flags & 4) != 0 ? 1 : 0;
        }
        for (const testing::MdlPatch& patch : file->patches) {
            triangles += patch.IsTriangle() ? 1 : 0;
            if (patch.IsTriangle()) {
                EXPECT_EQ(patch.normals[3], patch.normals[0]) << "a 3-point patch repeats both";
                EXPECT_EQ(patch.flags & 64, 0) << "no fourth side";
            }
        }
        EXPECT_EQ(file->splines.size(), model.splines);
        EXPECT_EQ(cps, model.cps);
        EXPECT_EQ(closed, model.closedSplines);
        EXPECT_EQ(file->patches.size(), model.patches);
        EXPECT_EQ(triangles, model.threePointPatches);
        EXPECT_EQ(file->normals.size(), model.normals);
    }
}

// Goose names its groups and colours them like the attributes its patches use: attribute 0 is
// the model's own surface, attribute k + 1 that of group k.
TEST(AnimationMasterCorpusTest, GooseGroupsAndAttributesShareTheirColours) {
    if (!fs::exists(kCorpus / "Goose.mdl")) {
        GTEST_SKIP() << "no corpus at " << kCorpus;
    }
    const std::optional<MdlFile> goose = ReadCorpusFile("Goose.mdl");
    ASSERT_TRUE(goose);
    ASSERT_EQ(goose->groups.size(), 4u);
    ASSERT_EQ(goose->attributes.size(), 5u);
    const char* const names[] = {"Feet", "Beak", "Eyes", "iris"};
    for (std::size_t k = 0; k < goose->groups.size(); ++k) {
        EXPECT_EQ(goose->groups[k].name, names[k]);
        EXPECT_EQ(goose->groups[k].colour, goose->attributes[k + 1]) << names[k];
    }
    EXPECT_EQ(goose->attributes[0], (testing::MdlColour{192, 192, 192}));
}

// The rules catch what breaks a model: a side flagged the wrong way round, a corner that is no
// CP, an attachment to nothing, a normal that is not there.
TEST(AnimationMasterCorpusTest, BrokenCubesBreakTheRules) {
    if (!fs::exists(kCorpus / "Cube.mdl")) {
        GTEST_SKIP() << "no corpus at " << kCorpus;
    }
    const std::optional<MdlFile> cube = ReadCorpusFile("Cube.mdl");
    ASSERT_TRUE(cube);
    ASSERT_TRUE(MdlProblems(*cube).empty());
    const std::function<void(MdlFile&)> breaks[] = {
        [](MdlFile& f) { f.patches[0].flags ^= 8; },
        [](MdlFile& f) { f.patches[5].flags ^= 32; },
        [](MdlFile& f) { std::swap(f.patches[9].corners[1], f.patches[9].corners[3]); },
        [](MdlFile& f) { f.patches[2].corners[2] = 4800; },
        [](MdlFile& f) { f.splines[0][1].target = 4800; },
        [](MdlFile& f) { f.splines[1][1].id = f.splines[1][0].id; },
        [](MdlFile& f) { f.patches[3].normals[1] = 6; },
        [](MdlFile& f) { f.patches[3].attribute = 1; },
        [](MdlFile& f) { f.splines[2][3].flags |= 4; },
    };
    for (std::size_t i = 0; i < std::size(breaks); ++i) {
        MdlFile broken = *cube;
        breaks[i](broken);
        EXPECT_FALSE(MdlProblems(broken).empty()) << "break " << i;
    }
}

// What the reader refuses: CR alone, tags that do not nest, lines of the network that do not parse.
TEST(AnimationMasterCorpusTest, ReaderRefusesBrokenLayouts) {
    const std::string frame = "<MODELFILE>\r\n<OBJECTS>\r\n<MODEL>\r\n<MESH>\r\n";
    const std::string end = "</MESH>\r\n</MODEL>\r\n</OBJECTS>\r\n</MODELFILE>\r\n";
    EXPECT_TRUE(MdlReader(frame + end).Read().has_value());
    const std::string broken[] = {frame + "</MODEL>\r\n" + end,
                                  frame + end + "<MODELFILE>\r\n</MODELFILE>\r\n",
                                  frame + "<SPLINE>\r\n1 0 1 2 3\r\n</SPLINE>\r\n" + end,
                                  frame + "<SPLINE>\r\n1 0 1 2 3 4 . 1 2\r\n</SPLINE>\r\n" + end,
                                  frame + "<PATCHES>\r\n0 1 2 3 4 0 0 0 0\r\n</PATCHES>\r\n" + end,
                                  frame + "<NORMALS>\r\n0 nan 1\r\n</NORMALS>\r\n" + end,
                                  frame + end.substr(0, 9),
                                  "<MODELFILE>\n</MODELFILE>\r\n"};
    for (const std::string& bad : broken) {
        EXPECT_FALSE(MdlReader(bad).Read().has_value()) << bad;
    }
}

}  // namespace
}  // namespace korvane
