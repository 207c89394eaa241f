#pragma once

#include <QAbstractButton>
#include <QPoint>

#include <cstdint>

namespace korvane {

class NumberEdit;

// The narrow button beside a NumberEdit: a click on the upper half steps the value up, on the
// lower half down; pressing and then dragging vertically changes it continuously, one step per
// pixel, with the pointer wrapped between the top and bottom screen edges.
class SpinButton : public QAbstractButton {
    Q_OBJECT

  public:
    SpinButton(NumberEdit* edit, QWidget* parent);

    // 0 none, 1 upper, 2 lower; 0 as soon as a drag starts.
    std::int32_t pressedHalf() const { return pressedHalf_; }
    bool dragging() const { return dragging_ != 0; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QRect Half(std::int32_t half) const;
    QPoint WrapPointer(QPoint position) const;

    NumberEdit* edit_;
    std::int32_t pressed_ = 0;
    std::int32_t dragging_ = 0;
    std::int32_t pressedHalf_ = 0;
    QPoint last_;  // screen coordinates
};

}  // namespace korvane
