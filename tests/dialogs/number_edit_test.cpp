#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include <memory>

#include "app/controls/format_fixed.h"
#include "app/controls/number_edit.h"
#include "app/controls/spin_button.h"
#include "widget_helpers.h"

namespace korvane {
namespace {

using testing::ReportLog;
using testing::ShowActive;

// A field with id 1001 and a button to take the focus from it, in an active window.
class NumberEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = std::make_unique<QWidget>();
        window_->resize(300, 100);
        edit_ = new NumberEdit(window_.get());
        edit_->setObjectName(QStringLiteral("1001"));
        edit_->setGeometry(20, 30, 80, 22);
        other_ = new QPushButton(QStringLiteral("other"), window_.get());
        other_->setGeometry(150, 30, 80, 22);
        log_ = std::make_unique<ReportLog>(*edit_);
        ShowActive(*window_);
    }

    // Focuses the field, replaces its text by typing, and leaves it.
    void TypeAndLeave(const QString& keys) {
        edit_->setFocus();
        edit_->selectAll();
        QTest::keyClicks(edit_, keys);
        other_->setFocus();
    }

    std::unique_ptr<QWidget> window_;
    NumberEdit* edit_ = nullptr;
    QPushButton* other_ = nullptr;
    std::unique_ptr<ReportLog> log_;
};

TEST_F(NumberEditTest, DropsLettersKeepsSignsAndCommitsWhatAtoiReads) {
    edit_->setFocus();
    QTest::keyClicks(edit_, QStringLiteral("12a-3"));
    EXPECT_EQ(edit_->text(), QStringLiteral("12-3"));
    EXPECT_TRUE(log_->reports.empty());

    other_->setFocus();
    EXPECT_EQ(edit_->IntValue(), 12);
    EXPECT_EQ(edit_->text(), QStringLiteral("12-3"));  // in range: the text stays as typed
    ASSERT_EQ(log_->reports.size(), 1u);
    EXPECT_EQ(log_->reports[0], std::make_pair(0x1000, 1001));
}

TEST_F(NumberEditTest, PointOnlyInFloatModeAndNoOtherCharacters) {
    edit_->setFocus();
    QTest::keyClicks(edit_, QStringLiteral("1.5 +e,x"));
    EXPECT_EQ(edit_->text(), QStringLiteral("15"));

    edit_->clear();
    edit_->SetFloatMode(true);
    QTest::keyClicks(edit_, QStringLiteral("-1.5.-"));
    EXPECT_EQ(edit_->text(), QStringLiteral("-1.5.-"));
    other_->setFocus();
    EXPECT_EQ(edit_->FloatValue(), -1.5f);
    EXPECT_EQ(edit_->text(), QStringLiteral("-1.5000"));
}

TEST_F(NumberEditTest, EditingKeysStillWork) {
    edit_->setFocus();
    QTest::keyClicks(edit_, QStringLiteral("1234"));
    QTest::keyClick(edit_, Qt::Key_Backspace);
    QTest::keyClick(edit_, Qt::Key_Home);
    QTest::keyClick(edit_, Qt::Key_Delete);
    EXPECT_EQ(edit_->text(), QStringLiteral("23"));
}

TEST_F(NumberEditTest, TypedLeadingZerosStayWhenInRange) {
    TypeAndLeave(QStringLiteral("007"));
    EXPECT_EQ(edit_->IntValue(), 7);
    EXPECT_EQ(edit_->text(), QStringLiteral("007"));
}

TEST_F(NumberEditTest, IntegerCommitClampsAtBothEnds) {
    edit_->SetIntRange(1, 10);
    edit_->SetIntValue(5);
    TypeAndLeave(QStringLiteral("0"));
    EXPECT_EQ(edit_->IntValue(), 1);
    EXPECT_EQ(edit_->text(), QStringLiteral("1"));
    TypeAndLeave(QStringLiteral("11"));
    EXPECT_EQ(edit_->IntValue(), 10);
    EXPECT_EQ(edit_->text(), QStringLiteral("10"));
    TypeAndLeave(QStringLiteral("-"));  // atoi reads 0
    EXPECT_EQ(edit_->IntValue(), 1);
    EXPECT_EQ(log_->reports.size(), 3u);
}

TEST_F(NumberEditTest, FloatCommitClampsAtBothEndsWithFourDecimals) {
    edit_->SetFloatMode(true);
    edit_->SetFloatRange(0.0f, 180.0f);
    edit_->SetFloatValue(100.0f);
    TypeAndLeave(QStringLiteral("250"));
    EXPECT_EQ(edit_->FloatValue(), 180.0f);
    EXPECT_EQ(edit_->text(), QStringLiteral("180.0000"));
    TypeAndLeave(QStringLiteral("-3"));
    EXPECT_EQ(edit_->FloatValue(), 0.0f);
    EXPECT_EQ(edit_->text(), QStringLiteral("0.0000"));
}

TEST_F(NumberEditTest, PastedTextOutsideWhatCanBeTypedStaysInRange) {
    edit_->setFocus();
    edit_->setText(QStringLiteral("99999999999"));  // beyond 32 bits
    other_->setFocus();
    EXPECT_EQ(edit_->IntValue(), 100000);

    edit_->SetFloatMode(true);
    edit_->SetFloatRange(0.0f, 180.0f);
    edit_->setFocus();
    edit_->setText(QStringLiteral("nan"));
    other_->setFocus();
    EXPECT_EQ(edit_->FloatValue(), 180.0f);
    edit_->setFocus();
    edit_->setText(QStringLiteral("1e300"));  // beyond the float range
    other_->setFocus();
    EXPECT_EQ(edit_->FloatValue(), 180.0f);
    edit_->setFocus();
    edit_->setText(QStringLiteral("  +2.5e1xyz"));
    other_->setFocus();
    EXPECT_EQ(edit_->FloatValue(), 25.0f);
}

TEST_F(NumberEditTest, CommitWithoutChangeReportsNothing) {
    edit_->SetIntValue(5);
    TypeAndLeave(QStringLiteral("05"));
    EXPECT_EQ(edit_->text(), QStringLiteral("05"));
    EXPECT_TRUE(log_->reports.empty());

    edit_->SetFloatMode(true);
    edit_->SetFloatValue(2.0f);
    TypeAndLeave(QStringLiteral("2.0"));
    EXPECT_EQ(edit_->text(), QStringLiteral("2.0000"));
    EXPECT_TRUE(log_->reports.empty());
}

TEST_F(NumberEditTest, SettersClampAndTellWhetherTheValueChanged) {
    edit_->SetIntRange(10, 5);  // a minimum above the maximum wins
    EXPECT_TRUE(edit_->SetIntValue(7));
    EXPECT_EQ(edit_->IntValue(), 10);
    EXPECT_FALSE(edit_->SetIntValue(10));

    edit_->SetFloatMode(true);
    edit_->SetFloatRange(0.0f, 180.0f);
    EXPECT_TRUE(edit_->SetFloatValue(99.0f));
    edit_->setText(QStringLiteral("typed"));
    EXPECT_FALSE(edit_->SetFloatValue(99.0f));
    EXPECT_EQ(edit_->text(), QStringLiteral("99.0000"));  // the float text is always rewritten
    EXPECT_TRUE(log_->reports.empty());
}

TEST_F(NumberEditTest, PointerOverAnUnfocusedFieldFocusesItAndSelectsAll) {
    edit_->SetFloatMode(true);
    edit_->SetFloatValue(100.0f);
    other_->setFocus();
    ASSERT_TRUE(testing::PointAt(*edit_));
    EXPECT_EQ(edit_->selectedText(), QStringLiteral("100.0000"));
    QTest::keyClicks(edit_, QStringLiteral("42"));
    EXPECT_EQ(edit_->text(), QStringLiteral("42"));
}

TEST_F(NumberEditTest, SpinButtonIsAttachedOnceBesideTheField) {
    edit_->AttachSpin();
    SpinButton* spin = edit_->spinButton();
    ASSERT_NE(spin, nullptr);
    edit_->AttachSpin();
    EXPECT_EQ(window_->findChildren<SpinButton*>().size(), 1);
    EXPECT_EQ(spin->parentWidget(), window_.get());
    EXPECT_EQ(spin->objectName(), QStringLiteral("10"));
    EXPECT_EQ(spin->text(), QStringLiteral("spin"));
    EXPECT_EQ(spin->geometry(), QRect(20 + 80 + 2, 30 - 2, 15, 22 + 4));
    EXPECT_TRUE(spin->isVisible());
}

TEST_F(NumberEditTest, SpinButtonFollowsTheFieldsStateAndLifetime) {
    edit_->AttachSpin();
    QPointer<SpinButton> spin = edit_->spinButton();
    edit_->setEnabled(false);
    EXPECT_FALSE(spin->isEnabled());
    edit_->setEnabled(true);
    EXPECT_TRUE(spin->isEnabled());
    edit_->hide();
    EXPECT_FALSE(spin->isVisible());
    edit_->show();
    EXPECT_TRUE(spin->isVisible());
    delete edit_;
    EXPECT_TRUE(spin.isNull());
}

TEST(FormatFixed, WritesTheGivenNumberOfDecimals) {
    EXPECT_EQ(FormatFixed(100.0, 4), "100.0000");
    EXPECT_EQ(FormatFixed(-0.5, 4), "-0.5000");
    EXPECT_EQ(FormatFixed(1.23456, 2), "1.23");
    EXPECT_EQ(FormatFixed(12.5, 0), "12");  // halfway rounds to even, as printf does
    EXPECT_EQ(FormatFixed(1e20, 1), "100000000000000000000.0");
    EXPECT_EQ(FormatFixed(3.0, -2), "3");
}

}  // namespace
}  // namespace korvane
