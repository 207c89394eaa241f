#pragma once

#include <QDialog>

namespace korvane {

class NumberEdit;

// Asks for the limit angle of Connect Curve, in degrees from 0 to 180, and says beneath what the
// number means.
class ConnectDialog : public QDialog {
    Q_OBJECT

  public:
    // english: the labels are English instead of Japanese ("Limit Angle", "制限角度"). The field
    // starts at initialAngle, focused and selected, so that a new value can be typed at once.
    explicit ConnectDialog(bool english, float initialAngle = kDefaultAngle,
                           QWidget* parent = nullptr);

    static constexpr float kDefaultAngle = 100.0f;

    // initialAngle until the field changes; after the dialog closes, what the field showed.
    float limitAngle() const { return limitAngle_; }

    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    NumberEdit* angle_;
    float limitAngle_;
};

}  // namespace korvane
