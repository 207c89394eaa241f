#pragma once

#include <QFont>
#include <QRect>

namespace korvane {

// Dialog layouts are given in dialog units: a horizontal unit is a quarter of the dialog font's
// average character width, a vertical unit an eighth of its character height.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int left, int top, int width, int height) const;

  private:
    int baseWidth_;
    int baseHeight_;
};

// The dialogs' font: the Japanese proportional Gothic at 9 points.
QFont DialogFont();

}  // namespace korvane
