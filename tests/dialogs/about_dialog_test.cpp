#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>

#include "korvane_version.h"
#include "app/controls/dialog_fonts.h"
#include "app/dialogs/about_dialog.h"

namespace korvane {
namespace {

TEST(AboutDialog, ShowsTheVersion) {
    AboutDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Version Information"));
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        texts << label->text();
    }
    EXPECT_TRUE(texts.contains(QStringLiteral("Korvane Version ") + QString::fromLatin1(kVersion)));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("1"));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
}

TEST(DialogFonts, JapaneseGothicIsTheProportionalIpaFaceWhenInstalled) {
    if (!QFontDatabase::families().contains(QStringLiteral("IPAPGothic"))) {
        GTEST_SKIP() << "fonts-ipafont-gothic is not installed";
    }
    EXPECT_EQ(QFontInfo(GothicDialogFont()).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(AboutDialog().font().pointSize(), 9);
}

}  // namespace
}  // namespace korvane
