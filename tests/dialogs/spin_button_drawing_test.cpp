#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "app/controls/spin_button_drawing.h"

namespace korvane {
namespace {

const QColor kFace(200, 200, 200);
const QColor kHighlight(255, 255, 255);
const QColor kShadow(128, 128, 128);
const QColor kGreyText(100, 100, 100);

// The button of a 21-pixel field: 15 x 25, upper half 12 rows, arrows of size m = 4 centred on
// column 7. Up arrow: apex (7, 4), base row 8. Down arrow: top row 16, apex (7, 20).
class SpinButtonDrawingTest : public ::testing::Test {
  protected:
    QImage Draw(int pressedHalf, bool enabled) {
        QPalette palette;
        palette.setColor(QPalette::Active, QPalette::Button, kFace);
        palette.setColor(QPalette::Active, QPalette::Light, kHighlight);
        palette.setColor(QPalette::Active, QPalette::Dark, kShadow);
        palette.setColor(QPalette::Disabled, QPalette::WindowText, kGreyText);
        QImage image(15, 25, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        DrawSpinButton(painter, image.size(), pressedHalf, enabled, palette);
        return image;
    }
};

TEST_F(SpinButtonDrawingTest, RestingButtonHasTwoRaisedHalvesAndBlackArrows) {
    const QImage image = Draw(0, true);
    EXPECT_EQ(image.pixelColor(0, 0), kHighlight);   // upper: top left light
    EXPECT_EQ(image.pixelColor(14, 11), kGreyText);  // upper: bottom right dark
    EXPECT_EQ(image.pixelColor(0, 12), kHighlight);  // lower: top left light
    EXPECT_EQ(image.pixelColor(14, 24), kGreyText);  // lower: bottom right dark
    EXPECT_EQ(image.pixelColor(7, 2), kFace);
    EXPECT_EQ(image.pixelColor(7, 4), QColor(Qt::black));   // up apex
    EXPECT_EQ(image.pixelColor(7, 7), QColor(Qt::black));   // filled
    EXPECT_EQ(image.pixelColor(3, 8), QColor(Qt::black));   // base corner
    EXPECT_EQ(image.pixelColor(7, 20), QColor(Qt::black));  // down apex
    EXPECT_EQ(image.pixelColor(11, 16), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(7, 22), kFace);
}

TEST_F(SpinButtonDrawingTest, PressedUpperHalfIsSunkenWithItsArrowShifted) {
    const QImage image = Draw(1, true);
    EXPECT_EQ(image.pixelColor(0, 0), kGreyText);
    EXPECT_EQ(image.pixelColor(14, 11), kHighlight);
    EXPECT_EQ(image.pixelColor(0, 12), kHighlight);  // the lower half stays raised
    EXPECT_EQ(image.pixelColor(7, 4), kFace);
    EXPECT_EQ(image.pixelColor(8, 5), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(4, 9), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(7, 20), QColor(Qt::black));  // the down arrow stays put
}

TEST_F(SpinButtonDrawingTest, PressedLowerHalfIsSunkenWithItsArrowShifted) {
    const QImage image = Draw(2, true);
    EXPECT_EQ(image.pixelColor(0, 0), kHighlight);
    EXPECT_EQ(image.pixelColor(14, 11), kShadow);
    EXPECT_EQ(image.pixelColor(0, 12), kShadow);
    EXPECT_EQ(image.pixelColor(14, 24), kHighlight);
    EXPECT_EQ(image.pixelColor(7, 4), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(8, 21), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(3, 16), kFace);
}

TEST_F(SpinButtonDrawingTest, DisabledArrowsAreEmbossedOutlines) {
    const QImage image = Draw(0, false);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ASSERT_NE(image.pixelColor(x, y), QColor(Qt::black)) << x << ", " << y;
        }
    }
    EXPECT_EQ(image.pixelColor(7, 4), kShadow);     // outline in place
    EXPECT_EQ(image.pixelColor(7, 9), kHighlight);  // its copy a pixel lower
    EXPECT_EQ(image.pixelColor(7, 7), kFace);       // not filled
    EXPECT_EQ(image.pixelColor(7, 20), kShadow);
}

}  // namespace
}  // namespace korvane
