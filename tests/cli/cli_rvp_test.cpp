#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_fixture.h"

// korvane-cli reading back the ruvoPatch files it wrote.

namespace korvane {
namespace {

using testing::Cli;
using testing::CliTest;
using testing::Occurrences;
using testing::ReadWholeFile;
namespace fs = std::filesystem;

// The JSON up to the messages, which only the import of a model has.
std::string Counts(const std::string& json) {
    return json.substr(0, json.find("\"messages\""));
}

// What the table prints before its messages.
std::string Table(const std::string& text) {
    return text.substr(0, text.find("message: "));
}

TEST_F(CliTest, InfoOfAnExportMatchesInfoOfItsModel) {
    const std::vector<fs::path> models =
        testing::ModelFilesUnder({KORVANE_EXAMPLES_DIR, KORVANE_CORPUS_DIR});
    ASSERT_GE(models.size(), 3u) << "the examples are missing";
    for (const fs::path& model : models) {
        SCOPED_TRACE(model.string());
        const std::string exported = (dir_ / "model.rvp").string();
        ASSERT_EQ(Cli({"convert", model.string(), "-o", exported, "--connect", "150"}).exitStatus,
                  0);
        const auto ofModel = Cli({"info", model.string(), "--json", "--connect", "150"});
        const auto ofExport = Cli({"info", exported, "--json"});
        ASSERT_EQ(ofModel.exitStatus, 0) << ofModel.err;
        ASSERT_EQ(ofExport.exitStatus, 0) << ofExport.err;
        EXPECT_EQ(Counts(ofExport.out), Counts(ofModel.out));
        EXPECT_NE(ofExport.out.find("\"messages\": []"), std::string::npos);
        EXPECT_EQ(ofExport.err, "");
        EXPECT_EQ(Table(Cli({"info", exported}).out),
                  Table(Cli({"info", model.string(), "--connect", "150"}).out));

        // Converting the export again writes it byte for byte.
        const std::string again = (dir_ / "again.rvp").string();
        ASSERT_EQ(Cli({"convert", exported, "-o", again}).exitStatus, 0);
        EXPECT_TRUE(ReadWholeFile(again) == ReadWholeFile(exported));
    }
}

TEST_F(CliTest, ExportsAndModelsMixInOneDocument) {
    const std::string square = Write("sq.mqo", testing::kSquare);
    const std::string exported = (dir_ / "sq.rvp").string();
    ASSERT_EQ(Cli({"convert", square, "-o", exported}).exitStatus, 0);
    const auto mixed = Cli({"info", exported, square, exported, "--json"});
    const auto models = Cli({"info", square, square, square, "--json"});
    ASSERT_EQ(mixed.exitStatus, 0) << mixed.err;
    EXPECT_EQ(Counts(mixed.out), Counts(models.out));
    EXPECT_EQ(testing::JsonNumber(mixed.out, "objects"), 3);
}

// Whatever the cut, the tool ends with status 2 and one line that names the file and says why.
TEST_F(CliTest, ExportCutAtEveryByteIsRefusedInOneLine) {
    const std::string exported = (dir_ / "sq.rvp").string();
    ASSERT_EQ(Cli({"convert", Write("sq.mqo", testing::kSquare), "-o", exported}).exitStatus, 0);
    const std::string file = ReadWholeFile(exported);
    for (std::size_t length = 0; length < file.size(); ++length) {
        const std::string cut = Write("cut.rvp", file.substr(0, length));
        const auto info = Cli({"info", cut, "--json"});
        ASSERT_EQ(info.exitStatus, 2) << length;
        EXPECT_EQ(info.out, "");
        EXPECT_EQ(Occurrences(info.err, "\n"), 1) << info.err;
        const std::string why = length < 12 ? ": not a Metasequoia (.mqo), LightWave (.lwo) or "
                                              "ruvoPatch (.rvp) file, and assimp does not read it"
                                            : ": not a readable ruvoPatch file: ";
        EXPECT_EQ(info.err.rfind("korvane-cli: " + cut + why, 0), 0u) << info.err;
        EXPECT_TRUE(length < 12 || info.err.find("the file ends early") != std::string::npos)
            << info.err;
    }
}

TEST_F(CliTest, HostileCountSaysWhereItStands) {
    const std::string claim =
        std::string("\x0B") + "object_info" + "\xFF\xFF\xFF\x7F" + "\x03" + "end";
    const std::string path = Write("claims.rvp", claim);
    const auto info = Cli({"info", path});
    EXPECT_EQ(info.exitStatus, 2);
    EXPECT_EQ(info.err, "korvane-cli: " + path +
                            ": not a readable ruvoPatch file: the file ends early or is damaged: "
                            "2147483647 objects counted at byte 12 need at least 107374182350 "
                            "bytes, but 4 follow\n");
}

}  // namespace
}  // namespace korvane
