#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include "app/settings_file.h"

namespace korvane {
namespace {

TEST(SettingsFileTest, OnlyTheExactFirstWordEnglishSelectsEnglish) {
    EXPECT_TRUE(SelectsEnglish("english\n"));
    EXPECT_TRUE(SelectsEnglish("english more words\nand lines\n"));
    EXPECT_TRUE(SelectsEnglish(" \t\r\n english"));
    EXPECT_FALSE(SelectsEnglish("English\n"));
    EXPECT_FALSE(SelectsEnglish("englishx\n"));
    EXPECT_FALSE(SelectsEnglish("japanese\n"));
    EXPECT_FALSE(SelectsEnglish(""));
    EXPECT_FALSE(SelectsEnglish("eng"));
    EXPECT_FALSE(SelectsEnglish("english" + std::string(120, 'x')))
        << "a long word is cut at 99 characters, which still is not english";
}

class SettingsFileIoTest : public ::testing::Test {
  protected:
    QString PathIn(const QString& name) const { return folder_.filePath(name); }
    QTemporaryDir folder_;
};

TEST_F(SettingsFileIoTest, WrittenWordIsReadBack) {
    const QString path = PathIn("k_r_v.ini");
    EXPECT_EQ(ReadLanguageSetting(path), std::nullopt);
    WriteLanguageSetting(path, true);
    EXPECT_EQ(ReadLanguageSetting(path), std::optional<bool>(true));
    WriteLanguageSetting(path, false);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("japanese\n")) << "the old content is replaced";
    EXPECT_EQ(ReadLanguageSetting(path), std::optional<bool>(false));
}

TEST_F(SettingsFileIoTest, EmptyFileSelectsJapanese) {
    const QString path = PathIn("k_r_v.ini");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(ReadLanguageSetting(path), std::optional<bool>(false));
}

TEST_F(SettingsFileIoTest, UnreadableOrUnwritablePlacesAreSkipped) {
    ASSERT_TRUE(QDir(folder_.path()).mkdir("k_r_v.ini"));
    EXPECT_EQ(ReadLanguageSetting(PathIn("k_r_v.ini")), std::nullopt) << "a folder is no file";
    WriteLanguageSetting(PathIn("k_r_v.ini"), true);

    const QString missingFolder = PathIn("gone/k_r_v.ini");
    WriteLanguageSetting(missingFolder, true);
    EXPECT_FALSE(QFile::exists(missingFolder));
}

TEST_F(SettingsFileIoTest, ReadOnlyFolderIsSurvived) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "the superuser writes into read-only folders";
    }
    ASSERT_TRUE(QFile::setPermissions(folder_.path(), QFile::ReadOwner | QFile::ExeOwner));
    WriteLanguageSetting(PathIn("k_r_v.ini"), true);
    EXPECT_FALSE(QFile::exists(PathIn("k_r_v.ini")));
    QFile::setPermissions(folder_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace
}  // namespace korvane
