#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

#include <memory>
#include <vector>

#include "app/controls/dialog_fonts.h"
#include "app/controls/dialog_template.h"
#include "app/dialogs/about_dialog.h"
#include "app/dialogs/connect_dialog.h"
#include "app/dialogs/document_info_dialog.h"
#include "app/dialogs/setting_dialog.h"

namespace korvane {
namespace {

TEST(DialogTemplate, FourHorizontalUnitsMakeOneAverageCharacter) {
    QDialog dialog;
    const DialogTemplate layout(dialog, SansSerifDialogFont(), QStringLiteral("t"), 100, 40, false);
    const QFontMetrics metrics(dialog.font());
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int average = (letters / 26 + 1) / 2;
    EXPECT_EQ(layout.X(4), average);
    EXPECT_EQ(layout.X(400), 100 * average);
    EXPECT_EQ(layout.Y(8), metrics.height());
    EXPECT_EQ(layout.Y(80), 10 * metrics.height());
    EXPECT_EQ(dialog.size(), QSize(layout.X(100), layout.Y(40)));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
}

TEST(DialogTemplate, PlacesAControlUnderItsId) {
    QDialog dialog;
    const DialogTemplate layout(dialog, GothicDialogFont(), QStringLiteral("t"), 100, 40, true);
    auto* field = layout.Place(new QLineEdit(&dialog), 1001, 10, 8, 40, 12);
    EXPECT_EQ(field->objectName(), QStringLiteral("1001"));
    EXPECT_EQ(field->geometry(), QRect(layout.X(10), layout.Y(8), layout.X(40), layout.Y(12)));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("t"));
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST(DialogTemplate, MeasuringAFontAloneGivesTheSameUnits) {
    for (const QFont& font : {SansSerifDialogFont(), GothicDialogFont()}) {
        QDialog dialog;
        const DialogTemplate layout(dialog, font, QStringLiteral("t"), 100, 40, false);
        const DialogTemplate measured(font);
        for (const int units : {0, 1, 2, 3, 7, 99, 424, -5}) {
            EXPECT_EQ(measured.X(units), layout.X(units)) << units;
            EXPECT_EQ(measured.Y(units), layout.Y(units)) << units;
        }
    }
}

// Every dialog in both languages: each control lies inside the dialog, and each label's text
// fits its box without running into a neighbour.
std::vector<std::unique_ptr<QDialog>> EveryDialog(const DocumentCounts& counts) {
    std::vector<std::unique_ptr<QDialog>> dialogs;
    for (bool english : {false, true}) {
        dialogs.push_back(std::make_unique<ConnectDialog>(english));
        dialogs.push_back(std::make_unique<SettingDialog>(SettingValues{}, english));
        dialogs.push_back(std::make_unique<DocumentInfoDialog>(counts, english));
    }
    dialogs.push_back(std::make_unique<AboutDialog>());
    return dialogs;
}

TEST(DialogLayouts, TextsFitAndNothingOverlaps) {
    const DocumentCounts counts;
    for (const auto& dialog : EveryDialog(counts)) {
        SCOPED_TRACE(dialog->windowTitle().toStdString());
        const QRect client(QPoint(0, 0), dialog->size());
        const QList<QWidget*> controls =
            dialog->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (const QWidget* control : controls) {
            EXPECT_TRUE(client.contains(control->geometry()))
                << control->objectName().toStdString();
            const auto* label = qobject_cast<const QLabel*>(control);
            if (label == nullptr || label->text().isEmpty()) {
                continue;
            }
            // A wrapped label fits when its lines fit its height; any other on one line.
            if (label->wordWrap()) {
                EXPECT_LE(label->heightForWidth(label->width()), label->height())
                    << label->text().toStdString();
            } else {
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                    << label->text().toStdString();
            }
            for (const QWidget* other : controls) {
                if (other != control && qobject_cast<const QLineEdit*>(other) != nullptr) {
                    EXPECT_FALSE(label->geometry().intersects(other->geometry()))
                        << label->text().toStdString();
                }
            }
        }
    }
}

}  // namespace
}  // namespace korvane
