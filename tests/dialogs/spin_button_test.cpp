#include <gtest/gtest.h>

#include <QCursor>
#include <QScreen>
#include <QTest>

#include <memory>

#include "app/controls/number_edit.h"
#include "app/controls/spin_button.h"
#include "widget_helpers.h"

namespace korvane {
namespace {

using testing::ClickAt;
using testing::LowerCentre;
using testing::MoveToGlobal;
using testing::PressAt;
using testing::ReleaseHere;
using testing::ReportLog;
using testing::ShowActive;
using testing::UpperCentre;

// The angle field of the Connect dialog (float, 0 to 180, step 1, at 100) with its spin button,
// low in its window: drags upwards must not reach the screen's top where a window manager puts
// the window there.
class SpinButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = std::make_unique<QWidget>();
        window_->resize(200, 400);
        edit_ = new NumberEdit(window_.get());
        edit_->setObjectName(QStringLiteral("1001"));
        edit_->setGeometry(20, 300, 70, 21);
        edit_->AttachSpin();
        edit_->SetFloatMode(true);
        edit_->SetFloatRange(0.0f, 180.0f);
        edit_->SetFloatValue(100.0f);
        spin_ = edit_->spinButton();
        log_ = std::make_unique<ReportLog>(*edit_);
        ShowActive(*window_);
    }

    // A point above the spin button by the given distance from its top edge.
    QPoint Above(int distance) const {
        return spin_->mapToGlobal(QPoint(spin_->width() / 2, -distance));
    }

    std::unique_ptr<QWidget> window_;
    NumberEdit* edit_ = nullptr;
    SpinButton* spin_ = nullptr;
    std::unique_ptr<ReportLog> log_;
};

TEST_F(SpinButtonTest, ClickOnEitherHalfStepsOnceAndReportsAtOnce) {
    ClickAt(*spin_, UpperCentre(*spin_));
    EXPECT_EQ(edit_->text(), QStringLiteral("101.0000"));
    ASSERT_EQ(log_->reports.size(), 1u);
    EXPECT_EQ(log_->reports[0], std::make_pair(0x1000, 1001));

    ClickAt(*spin_, LowerCentre(*spin_));
    ClickAt(*spin_, LowerCentre(*spin_));
    EXPECT_EQ(edit_->text(), QStringLiteral("99.0000"));
    EXPECT_EQ(log_->reports.size(), 3u);
}

TEST_F(SpinButtonTest, HoldingWithoutMovingStepsOnceAtRelease) {
    PressAt(*spin_, UpperCentre(*spin_));
    MoveToGlobal(*spin_, spin_->mapToGlobal(UpperCentre(*spin_)));
    EXPECT_EQ(spin_->pressedHalf(), 1);
    EXPECT_EQ(edit_->FloatValue(), 100.0f);
    ReleaseHere(*spin_);
    EXPECT_EQ(edit_->FloatValue(), 101.0f);
    EXPECT_EQ(spin_->pressedHalf(), 0);
    EXPECT_EQ(log_->reports.size(), 1u);
}

TEST_F(SpinButtonTest, DragUpShowsTheValueAsItGoesAndReportsOnceAtRelease) {
    PressAt(*spin_, UpperCentre(*spin_));
    MoveToGlobal(*spin_, Above(5));  // leaving the upper half starts the drag, without a step
    EXPECT_TRUE(spin_->dragging());
    EXPECT_EQ(spin_->pressedHalf(), 0);
    EXPECT_EQ(edit_->FloatValue(), 100.0f);

    MoveToGlobal(*spin_, Above(5 + 10));
    EXPECT_EQ(edit_->text(), QStringLiteral("110.0000"));
    MoveToGlobal(*spin_, Above(5 + 30));
    EXPECT_EQ(edit_->text(), QStringLiteral("130.0000"));
    EXPECT_TRUE(log_->reports.empty());

    ReleaseHere(*spin_);
    EXPECT_EQ(edit_->FloatValue(), 130.0f);
    EXPECT_EQ(log_->reports.size(), 1u);
}

TEST_F(SpinButtonTest, DragDownAndBackToTheStartReportsNothing) {
    PressAt(*spin_, LowerCentre(*spin_));
    const QPoint below = spin_->mapToGlobal(QPoint(spin_->width() / 2, spin_->height() + 5));
    MoveToGlobal(*spin_, below);
    MoveToGlobal(*spin_, below + QPoint(0, 20));
    EXPECT_EQ(edit_->FloatValue(), 80.0f);
    MoveToGlobal(*spin_, below);
    ReleaseHere(*spin_);
    EXPECT_EQ(edit_->FloatValue(), 100.0f);
    EXPECT_TRUE(log_->reports.empty());
}

TEST_F(SpinButtonTest, DragIsClampedAndReportedWhenItEndsAwayFromTheStart) {
    PressAt(*spin_, UpperCentre(*spin_));
    MoveToGlobal(*spin_, Above(5));
    MoveToGlobal(*spin_, Above(5 + 100));
    EXPECT_EQ(edit_->FloatValue(), 180.0f);
    ReleaseHere(*spin_);
    EXPECT_EQ(log_->reports.size(), 1u);
}

TEST_F(SpinButtonTest, PointerLeavingTheTopOfTheScreenComesBackAtTheBottom) {
    edit_->SetFloatRange(0.0f, 100000.0f);
    const QRect screen = spin_->screen()->geometry();
    PressAt(*spin_, UpperCentre(*spin_));
    MoveToGlobal(*spin_, Above(5));
    const int startY = QCursor::pos().y();
    MoveToGlobal(*spin_, QPoint(Above(5).x(), screen.top() + 3));
    EXPECT_EQ(QCursor::pos().y(), screen.top() + screen.height() - 5);
    const float atWrap = edit_->FloatValue();
    EXPECT_EQ(atWrap, 100.0f + static_cast<float>(startY - (screen.top() + 3)));

    // The jump itself adds nothing; moving on up keeps adding.
    MoveToGlobal(*spin_, QPoint(Above(5).x(), screen.top() + screen.height() - 25));
    EXPECT_EQ(edit_->FloatValue(), atWrap + 20.0f);
    ReleaseHere(*spin_);
    EXPECT_EQ(log_->reports.size(), 1u);
}

TEST_F(SpinButtonTest, PointerLeavingTheBottomOfTheScreenComesBackAtTheTop) {
    edit_->SetFloatRange(-100000.0f, 100000.0f);
    const QRect screen = spin_->screen()->geometry();
    PressAt(*spin_, LowerCentre(*spin_));
    const int x = spin_->mapToGlobal(LowerCentre(*spin_)).x();
    MoveToGlobal(*spin_, spin_->mapToGlobal(QPoint(spin_->width() / 2, spin_->height() + 5)));
    MoveToGlobal(*spin_, QPoint(x, screen.bottom()));
    EXPECT_EQ(QCursor::pos().y(), screen.top() + 5);
    const float atWrap = edit_->FloatValue();
    MoveToGlobal(*spin_, QPoint(x, screen.top() + 15));
    EXPECT_EQ(edit_->FloatValue(), atWrap - 10.0f);
    ReleaseHere(*spin_);
}

TEST_F(SpinButtonTest, SecondClickOfADoubleClickDoesNotStep) {
    QCursor::setPos(spin_->mapToGlobal(UpperCentre(*spin_)));
    // Through the window, as the platform delivers it: press, release, double click, release.
    QTest::mouseDClick(spin_->window()->windowHandle(), Qt::LeftButton, {},
                       spin_->mapTo(spin_->window(), UpperCentre(*spin_)));
    EXPECT_EQ(edit_->FloatValue(), 101.0f);
    EXPECT_EQ(log_->reports.size(), 1u);
}

TEST_F(SpinButtonTest, TypedTextIsCommittedBeforeTheClickSteps) {
    edit_->setFocus();
    edit_->selectAll();
    QTest::keyClicks(edit_, QStringLiteral("50"));
    ClickAt(*spin_, UpperCentre(*spin_));
    EXPECT_EQ(edit_->text(), QStringLiteral("51.0000"));
    EXPECT_EQ(log_->reports.size(), 2u);  // the commit, then the click
}

TEST_F(SpinButtonTest, DisabledFieldsButtonIgnoresClicks) {
    edit_->setEnabled(false);
    ClickAt(*spin_, UpperCentre(*spin_));
    EXPECT_EQ(edit_->FloatValue(), 100.0f);
    EXPECT_TRUE(log_->reports.empty());
}

// The resolution field: integers from 1 to 10.
class IntegerSpinTest : public SpinButtonTest {
  protected:
    void SetUp() override {
        SpinButtonTest::SetUp();
        edit_->SetFloatMode(false);
        edit_->SetIntRange(1, 10);
    }
};

TEST_F(IntegerSpinTest, ClicksAtTheRangeEndsChangeAndReportNothing) {
    edit_->SetIntValue(10);
    ClickAt(*spin_, UpperCentre(*spin_));
    EXPECT_EQ(edit_->text(), QStringLiteral("10"));
    edit_->SetIntValue(1);
    ClickAt(*spin_, LowerCentre(*spin_));
    EXPECT_EQ(edit_->text(), QStringLiteral("1"));
    EXPECT_TRUE(log_->reports.empty());
}

TEST_F(IntegerSpinTest, DragStepsByTheTruncatedMultipleOfTheStep) {
    edit_->SetIntRange(-100, 100);
    edit_->SetIntValue(5);
    edit_->SetStep(0.25f);
    PressAt(*spin_, UpperCentre(*spin_));
    MoveToGlobal(*spin_, Above(5));
    MoveToGlobal(*spin_, Above(5 + 11));  // 11 x 0.25 = 2.75
    EXPECT_EQ(edit_->IntValue(), 7);
    ReleaseHere(*spin_);
    EXPECT_EQ(log_->reports.size(), 1u);

    ClickAt(*spin_, UpperCentre(*spin_));  // a click is one whole step whatever the step
    EXPECT_EQ(edit_->IntValue(), 8);
}

}  // namespace
}  // namespace korvane
