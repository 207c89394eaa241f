#include <gtest/gtest.h>

#include "app/startup.h"

namespace korvane {
namespace {

QStringList Arguments(std::initializer_list<const char*> words) {
    QStringList list{QStringLiteral("korvane")};
    for (const char* word : words) {
        list.append(QString::fromUtf8(word));
    }
    return list;
}

TEST(CommandLineTest, PlainStartOrOneModel) {
    const CommandLine plain = ParseCommandLine(Arguments({}));
    EXPECT_TRUE(plain.valid);
    EXPECT_TRUE(plain.modelPath.isEmpty());

    const CommandLine model = ParseCommandLine(Arguments({"models/vase.mqo"}));
    EXPECT_TRUE(model.valid);
    EXPECT_EQ(model.modelPath, QStringLiteral("models/vase.mqo"));

    const CommandLine dashed = ParseCommandLine(Arguments({"--", "-odd name.mqo"}));
    EXPECT_TRUE(dashed.valid);
    EXPECT_EQ(dashed.modelPath, QStringLiteral("-odd name.mqo"));
}

TEST(CommandLineTest, UnknownOptionsAndSecondFilesAreRejected) {
    for (const auto& words : {Arguments({"--print", "a.mqo"}), Arguments({"a.mqo", "-x"}),
                              Arguments({"a.mqo", "b.mqo"})}) {
        const CommandLine parsed = ParseCommandLine(words);
        EXPECT_FALSE(parsed.valid) << words.join(' ').toStdString();
        EXPECT_FALSE(parsed.error.isEmpty());
    }
    EXPECT_TRUE(ParseCommandLine(Arguments({"--print"})).error.contains(QStringLiteral("--print")));
}

}  // namespace
}  // namespace korvane
