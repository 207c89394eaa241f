#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/controls/number_edit.h"
#include "app/dialogs/connect_dialog.h"
#include "app/korv_app.h"
#include "app/qt_translations.h"
#include "app/user_dialogs.h"
#include "model_files.h"

namespace korvane {
namespace {

// Once a modal dialog of type T is the active one, hands it to `act`, which answers it.
template <class Dialog>
void WhenShown(const std::function<void(Dialog&)>& act) {
    QTimer::singleShot(0, [act] {
        ASSERT_TRUE(QTest::qWaitFor(
            [] { return qobject_cast<Dialog*>(QApplication::activeModalWidget()) != nullptr; }));
        act(*qobject_cast<Dialog*>(QApplication::activeModalWidget()));
    });
}

// Once the Connect dialog is up, hands it to `act`, which answers it.
void WhenConnectDialogShows(const std::function<void(ConnectDialog&, NumberEdit&)>& act) {
    WhenShown<ConnectDialog>([act](ConnectDialog& dialog) {
        act(dialog, *dialog.findChild<NumberEdit*>(QStringLiteral("1001")));
    });
}

// The angle of the last accepted run is offered again for as long as the program runs; a
// cancelled dialog changes nothing.
TEST(QtUserDialogsTest, ConnectDialogOffersTheAngleLastUsed) {
    QtUserDialogs dialogs;
    WhenConnectDialogShows([](ConnectDialog& dialog, NumberEdit& field) {
        field.setText(QStringLiteral("150"));
        dialog.accept();
    });
    float angle = 0.0f;
    ASSERT_TRUE(dialogs.AskLimitAngle(nullptr, angle));
    EXPECT_EQ(angle, 150.0f);

    for (int reopen = 0; reopen < 2; ++reopen) {
        QString offered;
        WhenConnectDialogShows([&offered](ConnectDialog& dialog, NumberEdit& field) {
            offered = field.text();
            field.setText(QStringLiteral("5"));
            dialog.reject();
        });
        EXPECT_FALSE(dialogs.AskLimitAngle(nullptr, angle));
        EXPECT_EQ(offered, QStringLiteral("150.0000")) << reopen;
    }
}

QStringList ButtonTexts(const QWidget& dialog) {
    QStringList texts;
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (button->isVisible() && !button->text().isEmpty()) {
            texts << button->text();
        }
    }
    texts.sort();
    return texts;
}

// What Qt draws of its own dialogs in each language: the discard question's buttons, the open
// dialog's labels and buttons, and the question before a save replaces a file.
struct QtTexts {
    bool english;
    QStringList discardButtons;
    QString lookIn;
    QStringList openButtons;
    QString replaceQuestion;
    QStringList replaceButtons;
};

const QtTexts kQtTexts[] = {
    {true,
     {"Cancel", "Discard"},
     "Look in:",
     {"&Open", "Cancel"},
     "model.rvp already exists.\nDo you want to replace it?",
     {"&No", "&Yes"}},
    {false,
     {"キャンセル", "変更を破棄"},
     "アドレス:",
     {"キャンセル", "開く(&O)"},
     "model.rvp は既に存在します。\n置き換えますか?",
     {"いいえ(&N)", "はい(&Y)"}},
};

TEST(QtUserDialogsTest, QtsOwnDialogsSpeakTheLanguageOfTheRun) {
    QTemporaryDir folder;
    const QString existing = folder.filePath(QStringLiteral("model.rvp"));
    ASSERT_TRUE(testing::WriteFile(existing, "old"));
    for (const QtTexts& expected : kQtTexts) {
        SCOPED_TRACE(expected.english ? "English" : "Japanese");
        GetApp()->useEnglish = expected.english;
        GetApp()->settingsPath = folder.filePath(QStringLiteral("k_r_v.ini"));
        const std::unique_ptr<QTranslator> translations = InstallQtTranslations(expected.english);
        EXPECT_EQ(translations == nullptr, expected.english);
        QtUserDialogs dialogs;

        QStringList discardButtons;
        WhenShown<QMessageBox>([&discardButtons](QMessageBox& box) {
            discardButtons = ButtonTexts(box);
            box.button(QMessageBox::Cancel)->click();
        });
        EXPECT_FALSE(dialogs.AskDiscardChanges(nullptr));
        EXPECT_EQ(discardButtons, expected.discardButtons);

        QString lookIn;
        QStringList openButtons;
        WhenShown<QFileDialog>([&](QFileDialog& dialog) {
            lookIn = dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text();
            openButtons = ButtonTexts(*dialog.findChild<QDialogButtonBox*>());
            dialog.reject();
        });
        EXPECT_TRUE(dialogs.AskOpenFile(nullptr, QStringLiteral("ruvoPatch(*.rvp)"), {}).isEmpty());
        EXPECT_EQ(lookIn, expected.lookIn);
        EXPECT_EQ(openButtons, expected.openButtons);

        QString replaceQuestion;
        QStringList replaceButtons;
        WhenShown<QFileDialog>([&](QFileDialog& dialog) {
            WhenShown<QMessageBox>([&](QMessageBox& question) {
                replaceQuestion = question.text();
                replaceButtons = ButtonTexts(question);
                question.button(QMessageBox::Yes)->click();
            });
            dialog.selectFile(existing);
            static_cast<QDialog&>(dialog).accept();  // as the Save button does
        });
        EXPECT_EQ(dialogs.AskSaveFile(nullptr, QStringLiteral("ruvoPatch(*.rvp)"),
                                      QStringLiteral("rvp"), existing),
                  existing);
        EXPECT_EQ(replaceQuestion, expected.replaceQuestion);
        EXPECT_EQ(replaceButtons, expected.replaceButtons);
    }
}

}  // namespace
}  // namespace korvane
