#include <gtest/gtest.h>

#include "app/display_name.h"
#include "app/toolbar_icons.h"

namespace korvane {
namespace {

TEST(DisplayNameTest, ReadsUtf8AsItIsAndAnythingElseAsShiftJis) {
    EXPECT_EQ(DisplayName("head"), QStringLiteral("head"));
    EXPECT_EQ(DisplayName(""), QString());
    EXPECT_EQ(DisplayName("\xE6\x9B\xB2"), QStringLiteral("曲"));
    EXPECT_EQ(DisplayName("\x83\x7E\x83\x4E"), QStringLiteral("ミク"));
    // Half-width katakana are single Shift_JIS bytes that UTF-8 never accepts.
    EXPECT_EQ(DisplayName("\xCC\xA7\xB2\xD9"), QStringLiteral("ﾌｧｲﾙ"));
    // A UTF-8 sequence cut short is not UTF-8.
    EXPECT_EQ(DisplayName("a\x83\x7E"), QStringLiteral("aミ"));
}

TEST(ToolbarIconTest, EveryImageIsDrawnAndDiffersFromTheOthers) {
    QList<QImage> drawn;
    for (int i = 0; i <= static_cast<int>(ToolbarImage::kAbout); ++i) {
        const QImage image =
            ToolbarIcon(static_cast<ToolbarImage>(i)).pixmap(QSize(16, 16), 3.0).toImage();
        EXPECT_EQ(image.size(), QSize(48, 48));
        EXPECT_FALSE(drawn.contains(image)) << "image " << i << " repeats an earlier one";
        drawn << image;
    }
}

}  // namespace
}  // namespace korvane
