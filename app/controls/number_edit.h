#pragma once

#include <QLineEdit>
#include <QPointer>

#include <cstdint>

namespace korvane {

class SpinButton;

// The notification code of a NumberEdit's change report.
inline constexpr int kNumberEditChanged = 0x1000;

// A one-line field holding an integer or a float. It takes only characters that can form a
// number, commits the typed text when it loses the keyboard focus, keeps its value inside its
// range, and reports every change of its value with changeReported. Its control id is its
// objectName, a decimal number.
class NumberEdit : public QLineEdit {
    Q_OBJECT

  public:
    explicit NumberEdit(QWidget* parent = nullptr);
    ~NumberEdit() override;

    // Creates the spin button once, as control 10 of this field's parent, 2 pixels right of the
    // field and 2 above it, 15 pixels wide and 4 taller than the field. Needs a parent.
    void AttachSpin();
    SpinButton* spinButton() const;

    void SetFloatMode(bool on);
    void SetIntRange(std::int32_t minimum, std::int32_t maximum);
    void SetFloatRange(float minimum, float maximum);
    void SetStep(float step);

    // Clamp to the range (the minimum wins over a lower maximum), store, and show. The integer
    // text is rewritten only when the stored value changes; the float text always, with four
    // decimals. True when the stored value changed.
    bool SetIntValue(std::int32_t value);
    bool SetFloatValue(float value);
    std::int32_t IntValue() const { return intValue_; }
    float FloatValue() const { return floatValue_; }

    // Reads the text into the value of the active mode (atoi or atof) and reports a change. Runs
    // when the field loses the focus; a dialog also runs it before it closes.
    void Commit();

    // The spin button's gesture. A click reports at once; a drag reports once, at its end, if
    // the value then differs from where the gesture began.
    void BeginGesture();
    void StepBy(std::int32_t delta, bool drag);
    void EndGesture();

    void setVisible(bool visible) override;

  signals:
    // code is kNumberEditChanged, id this field's control id.
    void changeReported(int code, int id);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    bool Accepts(QChar character) const;
    void TakeFocusFromPointer();
    void ReportChange();
    std::int32_t GestureIntValue(bool drag) const;
    float GestureFloatValue() const;

    std::int32_t floatMode_ = 0;
    std::int32_t intValue_ = 0;
    float floatValue_ = 0.0f;
    std::int32_t intMaximum_ = 100000;
    std::int32_t intMinimum_ = -100000;
    float floatMaximum_ = 1000000.0f;
    float floatMinimum_ = -1000000.0f;
    std::int32_t decimals_ = 4;
    QPointer<SpinButton> spin_;  // owned; a child of this field's parent
    std::int32_t accumulatedSteps_ = 0;
    std::int32_t intBase_ = 0;
    float floatBase_ = 0.0f;
    float step_ = 1.0f;
    std::int32_t changePending_ = 0;
};

}  // namespace korvane
