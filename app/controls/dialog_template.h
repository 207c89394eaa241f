#pragma once

#include <QDialog>
#include <QRect>
#include <QString>

namespace korvane {

// Builds a dialog from a layout in dialog units: a horizontal unit is a quarter of the dialog
// font's average character width, a vertical unit an eighth of its character height, each
// rounded to the nearest pixel.
class DialogTemplate {
  public:
    // Gives the dialog its font and caption and fixes its client area at width x height units.
    // Without a close box the caption shows no buttons at all.
    DialogTemplate(QDialog& dialog, const QFont& font, const QString& caption, int width,
                   int height, bool closeBox);
    // Only measures the font, for widgets laid out in dialog units that are no dialog of their
    // own, such as the bars of the main window.
    explicit DialogTemplate(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int left, int top, int width, int height) const;

    // Names the control by its id and puts it at the given place.
    template <class Control>
    Control* Place(Control* control, int id, int left, int top, int width, int height) const {
        control->setObjectName(QString::number(id));
        control->setGeometry(Rect(left, top, width, height));
        return control;
    }

  private:
    void Measure(const QFont& font);

    int averageWidth_ = 0;
    int characterHeight_ = 0;
};

}  // namespace korvane
