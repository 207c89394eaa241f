#include <gtest/gtest.h>

#include <string>

#include "cli_fixture.h"

// What an import leaves out although the file was read: each case is one message, on standard
// error for convert and in the output of info, and the tool still succeeds.

namespace korvane {
namespace {

using testing::Cli;
using testing::CliTest;
using testing::JsonNumber;
using testing::kSquare;
using testing::Occurrences;

const std::string kLatheInput =
    std::string(KORVANE_HOSTILE_INPUTS_DIR) + "/lathe-segments-past-memory.mqo";
const std::string kLatheWarning =
    "1 object was kept without its lathe, which would not fit in memory";

// A triangle, a face naming a vertex the object lacks, and no closing brace or "Eof".
constexpr const char* kDamaged =
    "Metasequoia Document\nFormat Text Ver 1.0\nObject \"t\" {\n\tvertex 3 {\n\t\t0 0 0\n"
    "\t\t1 0 0\n\t\t0 1 0\n\t}\n\tface 2 {\n\t\t3 V(0 1 2)\n\t\t3 V(0 1 9)\n\t}\n";

TEST_F(CliTest, LatheTooBigToSweepIsReportedEveryWay) {
    const auto json = Cli({"info", kLatheInput, "--json"});
    ASSERT_EQ(json.exitStatus, 0) << json.err;
    EXPECT_NE(json.out.find("\"messages\": [\"" + kLatheInput + ": " + kLatheWarning + "\"]"),
              std::string::npos)
        << json.out;
    // The profile stays as it is in the file: two points on one line.
    EXPECT_EQ(JsonNumber(json.out, "control_points"), 2);

    const auto text = Cli({"info", kLatheInput});
    ASSERT_EQ(text.exitStatus, 0) << text.err;
    EXPECT_NE(text.out.find("message: " + kLatheInput + ": " + kLatheWarning + "\n"),
              std::string::npos)
        << text.out;

    const auto converted = Cli({"convert", kLatheInput, "-o", (dir_ / "lathe.rvp").string()});
    ASSERT_EQ(converted.exitStatus, 0) << converted.err;
    EXPECT_EQ(converted.err, "korvane-cli: warning: " + kLatheInput + ": " + kLatheWarning + "\n");
}

// Five vertices in a binary block of six vertices' bytes, and a pentagon on them.
const std::string kOutlineInLongBlock =
    "Metasequoia Document\nObject \"p\" {\n\tBVertex 5 {\n\t\tVector 5 [72]\n" +
    std::string(72, '\0') + "\n\t}\n\tface 1 {\n\t\t5 V(0 1 2 3 4)\n\t}\n}\nEof\n";

// A triangle whose mirror mode is none that the mirror knows.
constexpr const char* kUnknownMirror =
    "Metasequoia Document\nObject \"m\" {\n\tmirror 7\n\tvertex 3 {\n\t\t0 0 0\n\t\t1 0 0\n"
    "\t\t0 1 0\n\t}\n\tface 1 {\n\t\t3 V(0 1 2)\n\t}\n}\nEof\n";

TEST_F(CliTest, EachWarningIsOneMessageNamingItsFile) {
    const std::string damaged = Write("damaged.mqo", kDamaged);
    const std::string square = Write("sq.mqo", kSquare);
    const std::string outline = Write("outline.mqo", kOutlineInLongBlock);
    const std::string mirror = Write("mirror.mqo", kUnknownMirror);
    const auto json = Cli({"info", square, damaged, kLatheInput, outline, mirror, "--json"});
    ASSERT_EQ(json.exitStatus, 0) << json.err;
    const std::string messages = json.out.substr(json.out.find("\"messages\""));
    EXPECT_EQ(Occurrences(messages, "\", \""), 5) << messages;  // six messages
    EXPECT_NE(messages.find(outline +
                            ": 1 face with more than four corners was kept as an outline without "
                            "patches"),
              std::string::npos);
    EXPECT_NE(messages.find(outline + ": 1 binary vertex block holds another number of vertices"),
              std::string::npos);
    EXPECT_NE(messages.find(damaged + ": 1 face that names vertices the object does not have"),
              std::string::npos);
    EXPECT_NE(messages.find(damaged + ": the file ends early"), std::string::npos);
    EXPECT_NE(messages.find(kLatheInput + ": " + kLatheWarning), std::string::npos);
    const std::string mirrorWarning =
        ": 1 object was kept without its mirror, whose mode is not 0, 1 or 2";
    EXPECT_NE(messages.find(mirror + mirrorWarning), std::string::npos);
    EXPECT_EQ(Occurrences(messages, square), 0);

    const auto converted = Cli({"convert", square, "-o", (dir_ / "sq.rvp").string()});
    ASSERT_EQ(converted.exitStatus, 0);
    EXPECT_EQ(converted.err, "");
    const auto clean = Cli({"info", square, "--json"});
    EXPECT_NE(clean.out.find("\"messages\": []"), std::string::npos) << clean.out;
}

}  // namespace
}  // namespace korvane
