#include "app/controls/spin_button_drawing.h"

#include <QPainter>
#include <QPolygon>

namespace korvane {
namespace {

struct Colours {
    QColor face;
    QColor highlight;
    QColor shadow;
    QColor greyText;
};

// A 1-pixel frame: top row and left column in one colour, bottom row and right column in the
// other, which owns the two corners it shares with the first.
void Draw3dRect(QPainter& painter, const QRect& rect, const QColor& topLeft,
                const QColor& bottomRight) {
    const int x = rect.x();
    const int y = rect.y();
    const int w = rect.width();
    const int h = rect.height();
    painter.fillRect(x, y, w - 1, 1, topLeft);
    painter.fillRect(x, y, 1, h - 1, topLeft);
    painter.fillRect(x + w - 1, y, 1, h, bottomRight);
    painter.fillRect(x, y + h - 1, w, 1, bottomRight);
}

void DrawArrow(QPainter& painter, const QPolygon& arrow, bool enabled, const Colours& colours) {
    if (enabled) {
        painter.setPen(Qt::black);
        painter.setBrush(Qt::black);
        painter.drawPolygon(arrow);
        return;
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(colours.highlight);
    painter.drawPolygon(arrow.translated(1, 1));
    painter.setPen(colours.shadow);
    painter.drawPolygon(arrow);
}

}  // namespace

void DrawSpinButton(QPainter& painter, QSize size, std::int32_t pressedHalf, bool enabled,
                    const QPalette& palette) {
    const Colours colours{palette.color(QPalette::Active, QPalette::Button),
                          palette.color(QPalette::Active, QPalette::Light),
                          palette.color(QPalette::Active, QPalette::Dark),
                          palette.color(QPalette::Disabled, QPalette::WindowText)};
    const int width = size.width();
    const int upperHeight = size.height() / 2;
    const QRect upper(0, 0, width, upperHeight);
    const QRect lower(0, upperHeight, width, size.height() - upperHeight);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(QPoint(0, 0), size), colours.face);
    switch (pressedHalf) {
        case 1:
            Draw3dRect(painter, upper, colours.greyText, colours.highlight);
            Draw3dRect(painter, lower, colours.highlight, colours.greyText);
            break;
        case 2:
            Draw3dRect(painter, upper, colours.highlight, colours.shadow);
            Draw3dRect(painter, lower, colours.shadow, colours.highlight);
            break;
        default:
            Draw3dRect(painter, upper, colours.highlight, colours.greyText);
            Draw3dRect(painter, lower, colours.highlight, colours.greyText);
            break;
    }

    const int m = upperHeight / 3;
    const int cx = width / 2;
    const int t = upperHeight;
    const int up = pressedHalf == 1 ? 1 : 0;
    const int down = pressedHalf == 2 ? 1 : 0;
    const QPolygon upArrow({QPoint(cx + up, m + up), QPoint(cx + up - m, 2 * m + up),
                            QPoint(cx + up + m, 2 * m + up)});
    const QPolygon downArrow({QPoint(cx + down, t + 2 * m + down),
                              QPoint(cx + down - m, t + m + down),
                              QPoint(cx + down + m, t + m + down)});
    DrawArrow(painter, upArrow, enabled, colours);
    DrawArrow(painter, downArrow, enabled, colours);
    painter.restore();
}

}  // namespace korvane
