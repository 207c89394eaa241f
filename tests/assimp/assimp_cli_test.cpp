#include <gtest/gtest.h>

#include "cli/cli_fixture.h"

// korvane-cli on files read through assimp: --scale, and one line with status 2 whatever fails.

namespace korvane::testing {
namespace {

TEST_F(CliTest, OtherFormatsThroughAssimp) {
    const std::string quad = Write("quad.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n");
    const std::string junk = Write("junk.bin", std::string("\x01\x02\x03", 3));
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        const char* environment;
        int exitStatus;
        std::string line;  // the start of the only line on standard error, or a part of the output
    } cases[] = {
        {"imports", {"info", quad, "--json", "--scale", "2.5"}, "", 0, "\"quad_patches\": 1"},
        {"after a Metasequoia file",
         {"info", Write("sq.mqo", kSquare), quad},
         "",
         0,
         "total (2 objects)"},
        {"scale of 0",
         {"info", quad, "--scale", "0"},
         "",
         1,
         "korvane-cli: --scale takes a number greater than 0, not '0'"},
        {"scale not a number",
         {"info", quad, "--scale", "x"},
         "",
         1,
         "korvane-cli: --scale takes a number greater than 0, not 'x'"},
        {"not a model",
         {"info", junk},
         "",
         2,
         "korvane-cli: " + junk +
             ": not a Metasequoia (.mqo), LightWave (.lwo) or ruvoPatch (.rvp) file, and assimp "
             "does not read it: "},
        {"crash",
         {"convert", quad, "-o", (dir_ / "out.rvp").string()},
         "KORVANE_ASSIMP_FAULT=abort ",
         2,
         "korvane-cli: " + quad + ": assimp crashed (signal 6, Aborted); nothing was imported"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ProcessResult run = RunProcess(KORVANE_CLI_PATH, c.arguments, c.environment);
        EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
        if (c.exitStatus == 0) {
            EXPECT_NE(run.out.find(c.line), std::string::npos) << run.out;
        } else {
            EXPECT_EQ(run.err.rfind(c.line, 0), 0u) << run.err;
            EXPECT_EQ(Occurrences(run.err, "\n"), c.exitStatus == 1 ? 2 : 1) << run.err;
        }
    }
    EXPECT_FALSE(fs::exists(dir_ / "out.rvp"));
}

}  // namespace
}  // namespace korvane::testing
