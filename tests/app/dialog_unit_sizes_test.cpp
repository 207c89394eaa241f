#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QPushButton>

#include "app/language_dialog.h"
#include "app/object_tree_bar.h"
#include "app/status_text_bar.h"

// The language dialog and the bars are laid out in dialog units of the 9-point proportional
// Japanese Gothic; their sizes in pixels are worked out here from that font's metrics the way
// Windows does it, independently of the program's own conversion.

namespace korvane {
namespace {

class GothicUnits {
  public:
    GothicUnits() {
        QFont font(QStringLiteral("IPAPGothic"), 9);
        font.setStyleHint(QFont::SansSerif);
        const QFontMetrics metrics(font);
        const int letters = metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        average_ = (letters / 26 + 1) / 2;
        height_ = metrics.height();
    }

    int X(int units) const { return (units * average_ + 2) / 4; }
    int Y(int units) const { return (units * height_ + 4) / 8; }
    QRect Rect(int left, int top, int width, int height) const {
        return QRect(X(left), Y(top), X(width), Y(height));
    }

  private:
    int average_ = 0;
    int height_ = 0;
};

TEST(DialogUnitSizes, LanguageDialogAndItsButtons) {
    const GothicUnits units;
    LanguageDialog dialog;
    EXPECT_EQ(dialog.size(), QSize(units.X(99), units.Y(86)));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Language"));
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    const std::pair<const char*, QRect> buttons[] = {{"1007", units.Rect(7, 7, 85, 19)},
                                                     {"1008", units.Rect(7, 27, 85, 19)},
                                                     {"1", units.Rect(22, 65, 50, 14)}};
    for (const auto& [id, place] : buttons) {
        const auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(id));
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->geometry(), place) << id;
    }
}

TEST(DialogUnitSizes, BarsAskForTheirTemplateSizes) {
    const GothicUnits units;
    EXPECT_EQ(ObjectTreeDialog().sizeHint(), QSize(units.X(119), units.Y(424)));
    EXPECT_EQ(StatusFieldDialog().sizeHint(), QSize(units.X(330), units.Y(16)));
}

}  // namespace
}  // namespace korvane
