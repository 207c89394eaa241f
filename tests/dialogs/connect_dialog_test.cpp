#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/controls/number_edit.h"
#include "app/controls/spin_button.h"
#include "app/dialogs/connect_dialog.h"
#include "widget_helpers.h"

namespace korvane {
namespace {

using testing::ClickAt;
using testing::ShowActive;
using testing::UpperCentre;

NumberEdit* AngleField(QDialog& dialog) {
    return dialog.findChild<NumberEdit*>(QStringLiteral("1001"));
}

// Types into the field as a user does: the pointer over it selects the whole text.
void TypeIntoField(NumberEdit& field, const QString& keys) {
    ASSERT_TRUE(testing::PointAt(field));
    QTest::keyClicks(&field, keys);
}

TEST(ConnectDialog, HasItsControlsUnderTheirIds) {
    ConnectDialog dialog(false);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Connect"));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("1"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_TRUE(ok->isDefault());
    auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("2"));
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("1000"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->alignment() & Qt::AlignRight);
    ASSERT_NE(AngleField(dialog), nullptr);
    EXPECT_NE(dialog.findChild<SpinButton*>(QStringLiteral("10")), nullptr);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
}

// The labels say what the number is in the language of the run; the caption stays English.
// Every control lies inside the dialog, clear of the others, and every text fits its place.
TEST(ConnectDialog, LabelsFollowTheLanguageAndFitTheirPlaces) {
    const struct {
        bool english;
        const char* label;
        const char* unit;
        const char* meaning;
    } kLanguages[] = {
        {false, "制限角度", "度",
         "単位は度(0～180)。これより広い角度で続くカーブ同士を接続します(180 度が一直線)。"},
        {true, "Limit Angle", "°",
         "In degrees, 0 to 180: curves that continue each other at a wider angle are joined (180 "
         "is straight on)."},
    };
    for (const auto& language : kLanguages) {
        SCOPED_TRACE(language.label);
        ConnectDialog dialog(language.english);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Connect"));
        const auto* label = dialog.findChild<QLabel*>(QStringLiteral("1000"));
        const auto* unit = dialog.findChild<QLabel*>(QStringLiteral("1002"));
        const auto* meaning = dialog.findChild<QLabel*>(QStringLiteral("1003"));
        ASSERT_TRUE(label != nullptr && unit != nullptr && meaning != nullptr);
        EXPECT_EQ(label->text(), QString::fromUtf8(language.label));
        EXPECT_EQ(unit->text(), QString::fromUtf8(language.unit));
        EXPECT_EQ(meaning->text(), QString::fromUtf8(language.meaning));

        const QList<QWidget*> controls = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (qsizetype i = 0; i < controls.size(); ++i) {
            const QRect place = controls[i]->geometry();
            EXPECT_TRUE(dialog.rect().contains(place)) << controls[i]->objectName().toStdString();
            for (qsizetype j = i + 1; j < controls.size(); ++j) {
                EXPECT_FALSE(place.intersects(controls[j]->geometry()))
                    << controls[i]->objectName().toStdString() << " and "
                    << controls[j]->objectName().toStdString();
            }
        }
        for (const QLabel* text : {label, unit, meaning}) {
            const QRect needed = text->fontMetrics().boundingRect(QRect(QPoint(), text->size()),
                                                                  Qt::TextWordWrap, text->text());
            EXPECT_LE(needed.width(), text->width()) << text->objectName().toStdString();
            EXPECT_LE(needed.height(), text->height()) << text->objectName().toStdString();
        }
    }
}

// A new value can be typed at once: the field opens focused with its text selected.
TEST(ConnectDialog, OpensOnTheAngleItIsGivenFocusedAndSelected) {
    ConnectDialog given(true, 45.0f);
    ShowActive(given);
    NumberEdit* field = AngleField(given);
    EXPECT_EQ(field->text(), QStringLiteral("45.0000"));
    EXPECT_EQ(given.limitAngle(), 45.0f);
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(field->selectedText(), field->text());
    QTest::keyClicks(field, QStringLiteral("120"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(given.limitAngle(), 120.0f);

    ConnectDialog fresh(true);
    EXPECT_EQ(AngleField(fresh)->text(), QStringLiteral("100.0000"));
    EXPECT_EQ(fresh.limitAngle(), 100.0f);
}

TEST(ConnectDialog, AngleAboveTheRangeIsShownAndHandedOnAs180) {
    ConnectDialog dialog(false);
    ShowActive(dialog);
    NumberEdit* field = AngleField(dialog);
    TypeIntoField(*field, QStringLiteral("250"));
    dialog.findChild<QPushButton*>(QStringLiteral("2"))->setFocus();
    EXPECT_EQ(field->text(), QStringLiteral("180.0000"));
    EXPECT_EQ(dialog.limitAngle(), 180.0f);
}

TEST(ConnectDialog, EnterInTheFieldHandsOnWhatWasTyped) {
    ConnectDialog dialog(false);
    ShowActive(dialog);
    TypeIntoField(*AngleField(dialog), QStringLiteral("135.5"));
    QTest::keyClick(AngleField(dialog), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.limitAngle(), 135.5f);
}

// Swallows the field's focus-out, as happens when the window manager deactivates the closed
// dialog only after the caller has read its result.
class HoldFocusOut : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::FocusOut; }
};

TEST(ConnectDialog, EnterHandsOnWhatWasTypedBeforeTheFieldLosesTheFocus) {
    ConnectDialog dialog(false);
    ShowActive(dialog);
    TypeIntoField(*AngleField(dialog), QStringLiteral("12"));
    HoldFocusOut hold;
    AngleField(dialog)->installEventFilter(&hold);
    QTest::keyClick(AngleField(dialog), Qt::Key_Return);
    EXPECT_EQ(dialog.limitAngle(), 12.0f);
}

TEST(ConnectDialog, EscapeEndsWithoutOk) {
    ConnectDialog dialog(false);
    ShowActive(dialog);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(ConnectDialog, SpinButtonStepsTheAngleByOneDegree) {
    ConnectDialog dialog(false);
    ShowActive(dialog);
    ClickAt(*dialog.findChild<SpinButton*>(QStringLiteral("10")),
            UpperCentre(*dialog.findChild<SpinButton*>(QStringLiteral("10"))));
    EXPECT_EQ(AngleField(dialog)->text(), QStringLiteral("101.0000"));
    EXPECT_EQ(dialog.limitAngle(), 101.0f);
}

}  // namespace
}  // namespace korvane
