#include "app/dialog_units.h"

#include <QFontMetrics>

namespace korvane {
namespace {

// Windows measures the average width over the 52 Latin letters, rounded.
int AverageCharacterWidth(const QFontMetrics& metrics) {
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    baseWidth_ = AverageCharacterWidth(metrics);
    baseHeight_ = metrics.height();
}

int DialogUnits::X(int units) const {
    return (units * baseWidth_ + 2) / 4;
}

int DialogUnits::Y(int units) const {
    return (units * baseHeight_ + 4) / 8;
}

QRect DialogUnits::Rect(int left, int top, int width, int height) const {
    return QRect(X(left), Y(top), X(width), Y(height));
}

QFont DialogFont() {
    QFont font(QStringLiteral("IPAPGothic"), 9);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace korvane
