#pragma once

#include <QDialog>

#include "app/dialogs/setting_values.h"

class QCheckBox;

namespace korvane {

class NumberEdit;

// Sets the resolution and what the view shows.
class SettingDialog : public QDialog {
    Q_OBJECT

  public:
    // english: the labels read "Resolution", "Visibility", "Vertex", "Curve", "Surface" instead
    // of the Japanese ones; the caption is "Setting" in both languages.
    explicit SettingDialog(const SettingValues& values, bool english, QWidget* parent = nullptr);

    // The values after OK: the resolution the field showed, the flags as ticked.
    const SettingValues& values() const { return values_; }

    void accept() override;
    void done(int result) override;

  private:
    SettingValues values_;
    NumberEdit* resolution_;
    QCheckBox* vertices_;
    QCheckBox* curves_;
    QCheckBox* surfaces_;
};

}  // namespace korvane
