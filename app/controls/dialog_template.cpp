#include "app/controls/dialog_template.h"

#include <QFontMetrics>

namespace korvane {
namespace {

// Windows averages the 52 Latin letters and rounds half up.
int AverageCharacterWidth(const QFontMetrics& metrics) {
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
}

int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace

DialogTemplate::DialogTemplate(QDialog& dialog, const QFont& font, const QString& caption,
                               int width, int height, bool closeBox) {
    dialog.setFont(font);
    Measure(dialog.font());
    dialog.setWindowTitle(caption);
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeBox) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    dialog.setWindowFlags(flags);
    dialog.setFixedSize(X(width), Y(height));
}

DialogTemplate::DialogTemplate(const QFont& font) {
    Measure(font);
}

void DialogTemplate::Measure(const QFont& font) {
    const QFontMetrics metrics(font);
    averageWidth_ = AverageCharacterWidth(metrics);
    characterHeight_ = metrics.height();
}

int DialogTemplate::X(int units) const {
    return MulDiv(units, averageWidth_, 4);
}

int DialogTemplate::Y(int units) const {
    return MulDiv(units, characterHeight_, 8);
}

QRect DialogTemplate::Rect(int left, int top, int width, int height) const {
    return QRect(X(left), Y(top), X(width), Y(height));
}

}  // namespace korvane
