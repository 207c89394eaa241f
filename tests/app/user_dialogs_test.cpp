#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

#include "app/controls/number_edit.h"
#include "app/dialogs/connect_dialog.h"
#include "app/korv_app.h"
#include "app/qt_translations.h"
#include "app/side_settings.h"
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

// The angle is kept in a file of its own beside the settings file: a number from 0 to 180 is
// offered at the next start, anything else gives the default.
TEST(QtUserDialogsTest, ConnectDialogOffersTheAngleOfTheLastRun) {
    QTemporaryDir folder;
    GetApp()->settingsPath = folder.filePath(QStringLiteral("k_r_v.ini"));
    const QString angleFile = folder.filePath(QStringLiteral("k_r_v.angle"));
    {
        QtUserDialogs firstRun;
        WhenConnectDialogShows([](ConnectDialog& dialog, NumberEdit& field) {
            field.setText(QStringLiteral("135.25"));
            dialog.accept();
        });
        float angle = 0.0f;
        ASSERT_TRUE(firstRun.AskLimitAngle(nullptr, angle));
    }
    EXPECT_FALSE(QFile::exists(GetApp()->settingsPath)) << "k_r_v.ini stays the language alone";
    QtUserDialogs nextRun;
    QString offered;
    WhenConnectDialogShows([&offered](ConnectDialog& dialog, NumberEdit& field) {
        offered = field.text();
        dialog.reject();
    });
    float angle = 0.0f;
    EXPECT_FALSE(nextRun.AskLimitAngle(nullptr, angle));
    EXPECT_EQ(offered, QStringLiteral("135.2500"));

    const struct {
        const char* content;
        std::optional<float> angle;
    } kFiles[] = {{"135.25\n", 135.25f}, {" 0 ", 0.0f}, {"180", 180.0f},
                  {"0.1", 0.1f},         {"", {}},      {"-1", {}},
                  {"180.5", {}},         {"nan", {}},   {"inf", {}},
                  {"90 degrees", {}},    {"1e3", {}},   {"\xff\xfe", {}}};
    for (const auto& file : kFiles) {
        ASSERT_TRUE(testing::WriteFile(angleFile, file.content));
        EXPECT_EQ(ReadConnectAngle(GetApp()->settingsPath), file.angle) << file.content;
    }
    QFile::remove(angleFile);
    EXPECT_EQ(ReadConnectAngle(GetApp()->settingsPath), std::nullopt);
}

// Both file dialogs open in the folder of the file chosen last, in this run and the next; a save
// keeps its suggested name there. A folder that is gone is no longer offered.
TEST(QtUserDialogsTest, FileDialogsOpenInTheFolderUsedLast) {
    QTemporaryDir folder;
    GetApp()->settingsPath = folder.filePath(QStringLiteral("k_r_v.ini"));
    const QString models = folder.filePath(QStringLiteral("models"));
    ASSERT_TRUE(QDir().mkpath(models));
    const QString model = QDir(models).filePath(QStringLiteral("vase.mqo"));
    ASSERT_TRUE(testing::WriteFile(model, "Metasequoia Document\n"));
    const auto chooseIn = [](const QString& path, QString& shownFolder, QString& shownName) {
        WhenShown<QFileDialog>([path, &shownFolder, &shownName](QFileDialog& dialog) {
            shownFolder = dialog.directory().absolutePath();
            const QStringList selected = dialog.selectedFiles();
            shownName = selected.isEmpty() ? QString() : QFileInfo(selected.first()).fileName();
            if (path.isEmpty()) {
                dialog.reject();
                return;
            }
            dialog.selectFile(path);
            static_cast<QDialog&>(dialog).accept();
        });
    };
    QString shownFolder;
    QString shownName;
    {
        QtUserDialogs firstRun;
        chooseIn(model, shownFolder, shownName);
        EXPECT_EQ(firstRun.AskOpenFile(nullptr, QStringLiteral("Metasequoia(*.mqo)"), {}), model);
        EXPECT_NE(shownFolder, models) << "nothing chosen yet";

        const QString written = QDir(models).filePath(QStringLiteral("vase.rvp"));
        chooseIn(written, shownFolder, shownName);
        EXPECT_EQ(
            firstRun.AskSaveFile(nullptr, QStringLiteral("ruvoPatch(*.rvp)"), QStringLiteral("rvp"),
                                 folder.filePath("elsewhere/vase.rvp")),
            written);
        EXPECT_EQ(shownFolder, models);
        EXPECT_EQ(shownName, QStringLiteral("vase.rvp"));
    }
    {
        QtUserDialogs nextRun;
        chooseIn(QString(), shownFolder, shownName);
        EXPECT_TRUE(
            nextRun.AskOpenFile(nullptr, QStringLiteral("Metasequoia(*.mqo)"), {}).isEmpty());
        EXPECT_EQ(shownFolder, models);
    }
    ASSERT_TRUE(QDir(models).removeRecursively());
    EXPECT_EQ(ReadLastFolder(GetApp()->settingsPath), QString());
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
