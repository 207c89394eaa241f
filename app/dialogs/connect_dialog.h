#pragma once

#include <QDialog>

namespace korvane {

class NumberEdit;

// Asks for the limit angle of Connect Curve, in degrees from 0 to 180.
class ConnectDialog : public QDialog {
    Q_OBJECT

  public:
    // english: the label reads "Limit Angle" instead of "制限角度".
    explicit ConnectDialog(bool english, QWidget* parent = nullptr);

    // 100 in every new dialog; after it closes, what the field showed.
    float limitAngle() const { return limitAngle_; }

    void done(int result) override;

  private:
    NumberEdit* angle_;
    float limitAngle_ = 100.0f;
};

}  // namespace korvane
