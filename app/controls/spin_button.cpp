#include "app/controls/spin_button.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "app/controls/number_edit.h"
#include "app/controls/spin_button_drawing.h"

namespace korvane {

SpinButton::SpinButton(NumberEdit* edit, QWidget* parent) : QAbstractButton(parent), edit_(edit) {
    // Taking the focus on a click commits what was typed into the field before the gesture
    // starts from its value; the button is not a tab stop.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect SpinButton::Half(std::int32_t half) const {
    const int upperHeight = height() / 2;
    if (half == 1) {
        return QRect(0, 0, width(), upperHeight);
    }
    return QRect(0, upperHeight, width(), height() - upperHeight);
}

void SpinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawSpinButton(painter, size(), pressedHalf_, isEnabled(), palette());
}

void SpinButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressedHalf_ = Half(1).contains(event->position().toPoint()) ? 1 : 2;
        last_ = QCursor::pos(screen());
        pressed_ = 1;
        dragging_ = 0;
        repaint();
        edit_->BeginGesture();
    }
    QAbstractButton::mousePressEvent(event);
}

// The second press of a quick pair arrives as a double click; it is not a press and does not step.
void SpinButton::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void SpinButton::mouseMoveEvent(QMouseEvent* event) {
    if (pressed_ == 0) {
        QAbstractButton::mouseMoveEvent(event);
        return;
    }
    // The pointer itself, not the event: after a wrap, moves queued before it carry old places.
    const QPoint position = QCursor::pos(screen());
    if (dragging_ != 0) {
        // Up is more.
        edit_->StepBy(last_.y() - position.y(), true);
    } else if (!Half(pressedHalf_).contains(mapFromGlobal(position))) {
        dragging_ = 1;
        pressedHalf_ = 0;
        repaint();
    }
    // The wrapped place is remembered, so the jump itself adds nothing.
    last_ = WrapPointer(position);
}

QPoint SpinButton::WrapPointer(QPoint position) const {
    const QRect screenRect = screen()->geometry();
    const int top = screenRect.top();
    const int height = screenRect.height();
    if (position.y() < top + 5) {
        position.setY(top + height - 5);
    } else if (position.y() > top + height - 5) {
        position.setY(top + 5);
    } else {
        return position;
    }
    QCursor::setPos(screen(), position);
    return position;
}

void SpinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pressed_ != 0) {
        if (dragging_ == 0) {
            edit_->StepBy(pressedHalf_ == 1 ? 1 : -1, false);
        }
        pressed_ = 0;
        pressedHalf_ = 0;
        repaint();
        edit_->EndGesture();
    }
    QAbstractButton::mouseReleaseEvent(event);
}

void SpinButton::changeEvent(QEvent* event) {
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        repaint();
    }
}

}  // namespace korvane
