#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/startup.h"
#include "import/assimp_import.h"
#include "support/run_process.h"

namespace korvane {
namespace {

QStringList Arguments(std::initializer_list<const char*> words) {
    QStringList list{QStringLiteral("korvane")};
    for (const char* word : words) {
        list.append(QString::fromUtf8(word));
    }
    return list;
}

struct CommandLineCase {
    std::initializer_list<const char*> words;
    bool help;
    const char* wrongWord;  // what the error names; empty when there is none
    QStringList modelPaths;
};

const CommandLineCase kCommandLines[] = {
    {{}, false, "", {}},
    {{"models/vase.mqo"}, false, "", {"models/vase.mqo"}},
    {{"a.mqo", "b.lwo", "c.obj"}, false, "", {"a.mqo", "b.lwo", "c.obj"}},
    {{"-"}, false, "", {"-"}},
    {{"--", "-odd name.mqo", "--help"}, false, "", {"-odd name.mqo", "--help"}},
    {{"--help"}, true, "", {}},
    {{"a.mqo", "-h"}, true, "", {"a.mqo"}},
    {{"--print", "a.mqo"}, false, "--print", {"a.mqo"}},
    {{"a.mqo", "-x", "-y"}, false, "-x", {"a.mqo"}},
    {{"--embedding", "--help"}, true, "--embedding", {}},
};

TEST(CommandLineTest, ModelsInOrderHelpAndTheFirstWrongWord) {
    for (const CommandLineCase& expected : kCommandLines) {
        const QStringList arguments = Arguments(expected.words);
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const CommandLine parsed = ParseCommandLine(arguments);
        EXPECT_EQ(parsed.help, expected.help);
        EXPECT_EQ(parsed.modelPaths, expected.modelPaths);
        const QString wrongWord = QString::fromUtf8(expected.wrongWord);
        EXPECT_EQ(parsed.valid(), wrongWord.isEmpty());
        if (!wrongWord.isEmpty()) {
            EXPECT_EQ(parsed.error, QStringLiteral("unknown option ") + wrongWord);
        }
    }
}

// --help needs no display: the usage comes before the program connects to one.
TEST(CommandLineTest, HelpPrintsEveryImportedFormatWithoutADisplay) {
    const testing::ProcessResult run =
        testing::RunProcess(KORVANE_APP_PATH, {"a.mqo", "--help"},
                            "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= ");
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, Usage().toStdString());
    for (const char* format : {"Usage: korvane [MODEL...]", ".mqo", ".mqoz", ".lwo"}) {
        EXPECT_NE(run.out.find(format), std::string::npos) << format;
    }
    const std::vector<std::string> assimpExtensions = AssimpExtensions();
    EXPECT_GT(assimpExtensions.size(), 40u) << "the helper is built beside the program";
    for (const std::string& extension : assimpExtensions) {
        EXPECT_NE(run.out.find(" ." + extension), std::string::npos) << extension;
    }
}

}  // namespace
}  // namespace korvane
