#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/controls/number_edit.h"
#include "app/controls/spin_button.h"
#include "app/dialogs/setting_dialog.h"
#include "widget_helpers.h"

namespace korvane {
namespace {

using testing::ClickAt;
using testing::LowerCentre;
using testing::ShowActive;

NumberEdit* ResolutionField(QDialog& dialog) {
    return dialog.findChild<NumberEdit*>(QStringLiteral("1001"));
}

QCheckBox* Box(QDialog& dialog, int id) {
    return dialog.findChild<QCheckBox*>(QString::number(id));
}

void ClickOk(QDialog& dialog) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
}

TEST(SettingDialog, ShowsThePresetValues) {
    SettingDialog dialog(SettingValues{3, 1, 0, 1}, false);
    EXPECT_EQ(ResolutionField(dialog)->text(), QStringLiteral("3"));
    EXPECT_TRUE(Box(dialog, 1004)->isChecked());
    EXPECT_FALSE(Box(dialog, 1005)->isChecked());
    EXPECT_TRUE(Box(dialog, 1006)->isChecked());
    EXPECT_NE(dialog.findChild<SpinButton*>(QStringLiteral("10")), nullptr);
}

TEST(SettingDialog, OkHandsBackTheFieldAndTheTicks) {
    SettingDialog dialog(SettingValues{3, 1, 0, 1}, false);
    ShowActive(dialog);
    Box(dialog, 1004)->setChecked(false);
    Box(dialog, 1005)->setChecked(true);
    ClickAt(*dialog.findChild<SpinButton*>(QStringLiteral("10")),
            LowerCentre(*dialog.findChild<SpinButton*>(QStringLiteral("10"))));
    ClickOk(dialog);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.values().resolution, 2);
    EXPECT_FALSE(dialog.values().showVertices);
    EXPECT_TRUE(dialog.values().showCurves);
    EXPECT_TRUE(dialog.values().showSurfaces);
}

TEST(SettingDialog, ZeroTypedIntoTheResolutionShowsOne) {
    SettingDialog dialog(SettingValues{5, 0, 1, 0}, false);
    ShowActive(dialog);
    NumberEdit* field = ResolutionField(dialog);
    ASSERT_TRUE(testing::PointAt(*field));
    QTest::keyClicks(field, QStringLiteral("0"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(field->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog.values().resolution, 1);
}

TEST(SettingDialog, PresetOutsideTheRangeIsCorrected) {
    SettingDialog dialog(SettingValues{0, 0, 1, 0}, false);
    EXPECT_EQ(ResolutionField(dialog)->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog.values().resolution, 1);
}

TEST(SettingDialog, OneResolutionIsWrittenForCurvesAndSurfaces) {
    DisplaySettings settings;
    settings.curveResolution = 4;
    settings.surfaceResolution = 9;
    settings.showSurfaces = true;
    SettingDialog dialog(SettingValuesFrom(settings), false);
    EXPECT_EQ(ResolutionField(dialog)->text(), QStringLiteral("4"));
    EXPECT_TRUE(Box(dialog, 1005)->isChecked());
    EXPECT_TRUE(Box(dialog, 1006)->isChecked());
    ShowActive(dialog);
    NumberEdit* field = ResolutionField(dialog);
    ASSERT_TRUE(testing::PointAt(*field));
    QTest::keyClicks(field, QStringLiteral("7"));
    Box(dialog, 1004)->setChecked(true);
    ClickOk(dialog);
    ApplySettingValues(dialog.values(), settings);
    EXPECT_EQ(settings.curveResolution, 7);
    EXPECT_EQ(settings.surfaceResolution, 7);
    EXPECT_TRUE(settings.showVertices);
    EXPECT_TRUE(settings.showCurves);
    EXPECT_TRUE(settings.showSurfaces);
}

TEST(SettingDialog, LabelsFollowTheLanguageAndTheCaptionDoesNot) {
    const auto texts = [](QDialog& dialog) {
        return QStringList{dialog.windowTitle(),
                           dialog.findChild<QLabel*>(QStringLiteral("1000"))->text(),
                           dialog.findChild<QGroupBox*>(QStringLiteral("1002"))->title(),
                           Box(dialog, 1004)->text(),
                           Box(dialog, 1005)->text(),
                           Box(dialog, 1006)->text()};
    };
    SettingDialog english(SettingValues{}, true);
    EXPECT_EQ(texts(english),
              (QStringList{"Setting", "Resolution", "Visibility", "Vertex", "Curve", "Surface"}));
    SettingDialog japanese(SettingValues{}, false);
    EXPECT_EQ(texts(japanese), (QStringList{"Setting", "解像度", "表示", "頂点", "カーブ", "面"}));
    EXPECT_TRUE(japanese.windowFlags() & Qt::WindowCloseButtonHint);
}

}  // namespace
}  // namespace korvane
