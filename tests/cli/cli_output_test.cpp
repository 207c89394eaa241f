#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cli_fixture.h"

namespace korvane {
namespace {

using testing::CliTest;
using testing::kSquare;
using testing::ReadWholeFile;
using testing::RunProcess;
using testing::ShellQuote;
namespace fs = std::filesystem;

// Every file of the folder and its bytes; a link stands for what it names.
std::map<std::string, std::string> FolderContents(const fs::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::directory_iterator(folder)) {
        contents[entry.path().filename().string()] = ReadWholeFile(entry.path());
    }
    return contents;
}

struct RefusedOutputCase {
    const char* label;
    std::vector<std::string> args;  // run in the test's folder
    std::string reason;             // the line after "korvane-cli: "
};

// An output that is one of the inputs, under any name, or whose extension names no format that
// the command writes is refused before anything is read: exit 1, nothing written.
TEST_F(CliTest, OutputThatIsAnInputOrOfAnotherKindIsRefused) {
    Write("model.mqo", kSquare);
    ASSERT_EQ(RunProcess(KORVANE_CLI_PATH, {"convert", "model.mqo", "-o", "model.rvp"},
                         "cd " + ShellQuote(dir_.string()) + " && ")
                  .exitStatus,
              0);
    fs::create_hard_link(dir_ / "model.mqo", dir_ / "hard.rvp");
    fs::create_symlink("model.mqo", dir_ / "link.rvp");
    fs::copy_file(dir_ / "model.mqo", dir_ / "mesh.bin");
    fs::copy_file(dir_ / "model.mqo", dir_ / "mesh.mtl");
    const std::string convertKinds =
        "convert writes .rvp, .mdl, .spt, .obj, .ply, .stl, .gltf, .glb, .step, .stp, .igs and "
        ".iges files";
    const std::vector<RefusedOutputCase> cases = {
        {"the input by its name",
         {"convert", "model.mqo", "-o", "model.mqo"},
         "the output 'model.mqo' is the input 'model.mqo'; it was left as it is"},
        {"the input as ./name",
         {"convert", "model.mqo", "-o", "./model.mqo"},
         "the output './model.mqo' is the input 'model.mqo'; it was left as it is"},
        {"a written file read back onto itself",
         {"convert", "model.mqo", "model.rvp", "-o", "model.rvp"},
         "the output 'model.rvp' is the input 'model.rvp'; it was left as it is"},
        {"a hard link to the input",
         {"convert", "model.mqo", "-o", "hard.rvp"},
         "the output 'hard.rvp' is the input 'model.mqo'; it was left as it is"},
        {"a symbolic link to the input",
         {"convert", "model.mqo", "-o", "link.rvp"},
         "the output 'link.rvp' is the input 'model.mqo'; it was left as it is"},
        {"render onto its input",
         {"render", "model.mqo", "-o", "./model.mqo"},
         "the output './model.mqo' is the input 'model.mqo'; it was left as it is"},
        {"a glTF whose buffer would replace the input",
         {"convert", "mesh.bin", "-o", "mesh.gltf"},
         "the output 'mesh.gltf' would replace the input 'mesh.bin' with its companion "
         "'mesh.bin'; nothing was written"},
        {"an OBJ whose material library would replace an input",
         {"convert", "model.mqo", "mesh.mtl", "-o", "mesh.obj"},
         "the output 'mesh.obj' would replace the input 'mesh.mtl' with its companion "
         "'mesh.mtl'; nothing was written"},
        {"no extension", {"convert", "model.mqo", "-o", "model"}, convertKinds + ", not 'model'"},
        {"a model's extension",
         {"convert", "model.mqo", "-o", "copy.mqo"},
         convertKinds + ", not 'copy.mqo'"},
        {"an image from convert",
         {"convert", "model.mqo", "-o", "x.png"},
         convertKinds + ", not 'x.png'"},
        {"a JPEG image from render",
         {"render", "model.mqo", "-o", "x.jpg"},
         "render writes .png images, not 'x.jpg'"},
        {"a ruvoPatch file from render",
         {"render", "model.mqo", "-o", "x.rvp"},
         "render writes .png images, not 'x.rvp'"},
    };
    const auto before = FolderContents(dir_);
    for (const RefusedOutputCase& row : cases) {
        SCOPED_TRACE(row.label);
        const auto result =
            RunProcess(KORVANE_CLI_PATH, row.args, "cd " + ShellQuote(dir_.string()) + " && ");
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_EQ(result.err, "korvane-cli: " + row.reason + "\nTry 'korvane-cli --help'.\n");
        EXPECT_EQ(FolderContents(dir_), before);
    }
}

// The extension is told in any case; a pipe or character device takes the stream whatever its
// name; an existing file that is no input is replaced.
TEST_F(CliTest, OutputOfAKnownKindOrAStreamIsWritten) {
    const std::string model = Write("model.mqo", kSquare);
    const std::string other = Write("old.rvp", "an older export");
    for (const std::string& output : {(dir_ / "UPPER.RVP").string(), std::string("/dev/null"),
                                      other, (dir_ / "mesh.StL").string()}) {
        SCOPED_TRACE(output);
        const auto result = testing::Cli({"convert", model, "-o", output});
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        EXPECT_TRUE(result.err.empty()) << result.err;
    }
    EXPECT_TRUE(
        ReadWholeFile(other).starts_with("\x0B"
                                         "object_info"));
    EXPECT_TRUE(fs::is_regular_file(dir_ / "UPPER.RVP"));
    EXPECT_TRUE(fs::is_regular_file(dir_ / "mesh.StL"));
    EXPECT_EQ(ReadWholeFile(model), kSquare);
}

}  // namespace
}  // namespace korvane
