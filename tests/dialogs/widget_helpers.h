#pragma once

#include <gtest/gtest.h>

#include <QCursor>
#include <QTest>
#include <QWidget>

#include <utility>
#include <vector>

#include "app/controls/number_edit.h"
#include "app/controls/spin_button.h"

namespace korvane::testing {

// Shows a window at a fixed place, well clear of the screen's edges, and waits until it is the
// active window so that focus changes happen.
inline void ShowActive(QWidget& window) {
    window.move(200, 300);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// Moves the pointer over the field, which then takes the focus and selects its text; on a real
// window system the pointer's arrival is delivered later, so this waits for it.
inline bool PointAt(NumberEdit& field) {
    QTest::mouseMove(&field, QPoint(5, 5));
    return QTest::qWaitFor([&field] { return field.hasFocus(); }, 2000);
}

// Every change report of a field, as (code, id).
class ReportLog {
  public:
    explicit ReportLog(NumberEdit& edit) {
        QObject::connect(&edit, &NumberEdit::changeReported, &context_,
                         [this](int code, int id) { reports.emplace_back(code, id); });
    }
    std::vector<std::pair<int, int>> reports;

  private:
    QObject context_;  // disconnects when the log goes
};

// The pointer on the spin button: the button reads the pointer's screen place itself, so every
// event is preceded by moving the pointer there.
inline QPoint UpperCentre(const SpinButton& spin) {
    return QPoint(spin.width() / 2, spin.height() / 4);
}
inline QPoint LowerCentre(const SpinButton& spin) {
    return QPoint(spin.width() / 2, spin.height() * 3 / 4);
}
inline void PressAt(SpinButton& spin, QPoint local) {
    QCursor::setPos(spin.mapToGlobal(local));
    QTest::mousePress(&spin, Qt::LeftButton, {}, local);
}
inline void MoveToGlobal(SpinButton& spin, QPoint global) {
    QCursor::setPos(global);
    QTest::mouseMove(&spin, spin.mapFromGlobal(global));
}
inline void ReleaseHere(SpinButton& spin) {
    QTest::mouseRelease(&spin, Qt::LeftButton, {}, spin.mapFromGlobal(QCursor::pos()));
}
inline void ClickAt(SpinButton& spin, QPoint local) {
    PressAt(spin, local);
    ReleaseHere(spin);
}

}  // namespace korvane::testing
