#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/language_choice.h"
#include "app/language_dialog.h"
#include "app/settings_file.h"
#include "fake_dialogs.h"

namespace korvane {
namespace {

// Runs `answer` on the modal dialog once it is up.
void WhenModal(std::function<void(QWidget*)> answer) {
    QTimer::singleShot(0, [answer] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        answer(dialog);
    });
}

TEST(LanguageDialogTest, HasItsControlsAndStartsOnJapanese) {
    LanguageDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Language"));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("1"));
    auto* japanese = dialog.findChild<QPushButton*>(QStringLiteral("1007"));
    auto* english = dialog.findChild<QPushButton*>(QStringLiteral("1008"));
    ASSERT_TRUE(ok && japanese && english);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(japanese->text(), QStringLiteral("Japanese"));
    EXPECT_EQ(english->text(), QStringLiteral("English"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_TRUE(japanese->isChecked());
    EXPECT_FALSE(english->isChecked());
    EXPECT_EQ(dialog.choice, Language::kJapanese);
    // Laid out top to bottom: Japanese, English, OK.
    EXPECT_LT(japanese->geometry().bottom(), english->geometry().top() + 1);
    EXPECT_LT(english->geometry().bottom(), ok->geometry().top());
    EXPECT_TRUE(dialog.rect().contains(ok->geometry()));
}

TEST(LanguageDialogTest, EnglishAndOkChooseEnglish) {
    LanguageDialogChooser chooser;
    WhenModal([](QWidget* dialog) {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("1008")), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
    });
    EXPECT_EQ(chooser.ChooseLanguage(), Language::kEnglish);
}

TEST(LanguageDialogTest, ButtonsAreExclusive) {
    LanguageDialog dialog;
    auto* japanese = dialog.findChild<QPushButton*>(QStringLiteral("1007"));
    auto* english = dialog.findChild<QPushButton*>(QStringLiteral("1008"));
    QTest::mouseClick(english, Qt::LeftButton);
    QTest::mouseClick(japanese, Qt::LeftButton);
    EXPECT_TRUE(japanese->isChecked());
    EXPECT_FALSE(english->isChecked());
    dialog.accept();
    EXPECT_EQ(dialog.choice, Language::kJapanese);
}

TEST(LanguageDialogTest, EscapeLeavesJapaneseEvenAfterPickingEnglish) {
    LanguageDialogChooser chooser;
    WhenModal([](QWidget* dialog) {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("1008")), Qt::LeftButton);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(chooser.ChooseLanguage(), Language::kJapanese);
}

// The choice is written as soon as it is made, so that a run that never exits cleanly does not
// ask again next time.
TEST(SettleLanguageTest, DialogOnlyWhenNoFileIsFoundAndTheChoiceIsWrittenAtOnce) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("k_r_v.ini"));
    testing::FakeChooser english(Language::kEnglish);
    EXPECT_EQ(SettleLanguage(path, english), Language::kEnglish);
    EXPECT_EQ(english.asked, 1);
    EXPECT_EQ(ReadLanguageSetting(path), std::optional<bool>(true));

    WriteLanguageSetting(path, false);
    testing::FakeChooser unused(Language::kEnglish);
    EXPECT_EQ(SettleLanguage(path, unused), Language::kJapanese);
    EXPECT_EQ(unused.asked, 0);
}

}  // namespace
}  // namespace korvane
