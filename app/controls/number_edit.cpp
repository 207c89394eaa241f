#include "app/controls/number_edit.h"

#include <QKeyEvent>

#include <cmath>

#include "app/controls/format_fixed.h"
#include "app/controls/number_text.h"
#include "app/controls/spin_button.h"

namespace korvane {
namespace {

std::int32_t Saturated(double value) {
    if (value >= 2147483647.0) {
        return INT32_MAX;
    }
    if (value <= -2147483648.0) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(value);
}

// Keys that reach an edit field as key strokes rather than as typed characters, or that belong
// to the dialog (default button, cancel, focus change).
bool IsEditingOrDialogKey(int key) {
    switch (key) {
        case Qt::Key_Delete:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return true;
        default:
            return false;
    }
}

}  // namespace

NumberEdit::NumberEdit(QWidget* parent) : QLineEdit(parent) {
    // Entering the field with the pointer focuses it; an input method would bypass the filter.
    setMouseTracking(true);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

NumberEdit::~NumberEdit() {
    delete spin_;
}

void NumberEdit::AttachSpin() {
    if (spin_ != nullptr || parentWidget() == nullptr) {
        return;
    }
    spin_ = new SpinButton(this, parentWidget());
    spin_->setText(QStringLiteral("spin"));
    spin_->setObjectName(QStringLiteral("10"));
    const QRect field = geometry();
    spin_->setGeometry(field.x() + field.width() + 2, field.y() - 2, 15, field.height() + 4);
    spin_->show();
}

SpinButton* NumberEdit::spinButton() const {
    return spin_;
}

void NumberEdit::SetFloatMode(bool on) {
    floatMode_ = on ? 1 : 0;
}

void NumberEdit::SetIntRange(std::int32_t minimum, std::int32_t maximum) {
    intMinimum_ = minimum;
    intMaximum_ = maximum;
}

void NumberEdit::SetFloatRange(float minimum, float maximum) {
    floatMinimum_ = minimum;
    floatMaximum_ = maximum;
}

void NumberEdit::SetStep(float step) {
    step_ = step;
}

bool NumberEdit::SetIntValue(std::int32_t value) {
    if (value > intMaximum_) {
        value = intMaximum_;
    }
    if (value < intMinimum_) {
        value = intMinimum_;
    }
    const bool changed = value != intValue_;
    intValue_ = value;
    if (changed) {
        setText(QString::number(value));
        repaint();
    }
    return changed;
}

bool NumberEdit::SetFloatValue(float value) {
    // Written so that a not-a-number, which compares false, becomes the maximum.
    if (!(value <= floatMaximum_)) {
        value = floatMaximum_;
    }
    if (value < floatMinimum_) {
        value = floatMinimum_;
    }
    const bool changed = value != floatValue_;
    floatValue_ = value;
    setText(QString::fromStdString(FormatFixed(value, decimals_)));
    repaint();
    return changed;
}

void NumberEdit::Commit() {
    const std::int32_t oldInt = intValue_;
    const float oldFloat = floatValue_;
    const std::string typed = text().toStdString();
    bool changed = false;
    if (floatMode_ != 0) {
        floatValue_ = ReadFloatText(typed);
        SetFloatValue(floatValue_);
        changed = floatValue_ != oldFloat;
    } else {
        // Stored before the range check, so that a typed 007 stays on screen as 007.
        intValue_ = ReadIntText(typed);
        SetIntValue(intValue_);
        changed = intValue_ != oldInt;
    }
    if (changed) {
        ReportChange();
    }
}

void NumberEdit::BeginGesture() {
    changePending_ = 0;
    accumulatedSteps_ = 0;
    intBase_ = intValue_;
    floatBase_ = floatValue_;
}

std::int32_t NumberEdit::GestureIntValue(bool drag) const {
    const float x = static_cast<float>(accumulatedSteps_) * step_;
    const double offset = drag ? std::trunc(static_cast<double>(x)) : accumulatedSteps_;
    return Saturated(intBase_ + offset);
}

float NumberEdit::GestureFloatValue() const {
    return floatBase_ + static_cast<float>(accumulatedSteps_) * step_;
}

void NumberEdit::StepBy(std::int32_t delta, bool drag) {
    accumulatedSteps_ = Saturated(static_cast<double>(accumulatedSteps_) + delta);
    const bool changed =
        floatMode_ != 0 ? SetFloatValue(GestureFloatValue()) : SetIntValue(GestureIntValue(drag));
    if (!changed) {
        return;
    }
    if (drag) {
        changePending_ = 1;
    } else {
        ReportChange();
    }
}

void NumberEdit::EndGesture() {
    if (accumulatedSteps_ != 0 && changePending_ == 1) {
        const bool differs = floatMode_ != 0 ? floatValue_ != floatBase_ : intValue_ != intBase_;
        if (differs) {
            ReportChange();
        }
    }
    BeginGesture();
}

void NumberEdit::ReportChange() {
    emit changeReported(kNumberEditChanged, objectName().toInt());
    changePending_ = 0;
}

bool NumberEdit::Accepts(QChar character) const {
    const char16_t c = character.unicode();
    return (c >= u'0' && c <= u'9') || c == u'-' || c == u'\b' || (floatMode_ != 0 && c == u'.');
}

void NumberEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    if (typed.isEmpty() || IsEditingOrDialogKey(event->key())) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Typed characters, control characters (Ctrl+C, Ctrl+V, ...) included, pass one by one.
    QString accepted;
    for (QChar character : typed) {
        if (Accepts(character)) {
            accepted += character;
        }
    }
    if (accepted == typed) {
        QLineEdit::keyPressEvent(event);
    } else if (!accepted.isEmpty()) {
        QKeyEvent filtered(event->type(), Qt::Key_unknown, event->modifiers(), accepted);
        QLineEdit::keyPressEvent(&filtered);
    }
    event->accept();
}

void NumberEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A context menu takes the focus for a moment; the field has not been left.
    if (event->reason() != Qt::PopupFocusReason) {
        Commit();
    }
}

void NumberEdit::TakeFocusFromPointer() {
    if (hasFocus()) {
        return;
    }
    setFocus(Qt::MouseFocusReason);
    selectAll();
}

void NumberEdit::enterEvent(QEnterEvent* event) {
    QLineEdit::enterEvent(event);
    TakeFocusFromPointer();
}

void NumberEdit::mouseMoveEvent(QMouseEvent* event) {
    QLineEdit::mouseMoveEvent(event);
    TakeFocusFromPointer();
}

void NumberEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && spin_ != nullptr) {
        spin_->setEnabled(isEnabled());
    }
}

void NumberEdit::setVisible(bool visible) {
    QLineEdit::setVisible(visible);
    if (spin_ != nullptr) {
        spin_->setVisible(visible);
    }
}

}  // namespace korvane
