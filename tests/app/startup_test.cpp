#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/korv_view.h"
#include "app/main_frame.h"
#include "app/settings_file.h"
#include "app/startup.h"
#include "fake_dialogs.h"
#include "korvane_version.h"
#include "view/camera_framing.h"

namespace korvane {
namespace {

using testing::FakeChooser;
using testing::FakeDialogs;

QString FileMenuTitle(const CMainFrame& frame) {
    const QList<QAction*> menus = frame.menuBar()->actions();
    return menus.isEmpty() ? QString() : menus.first()->text();
}

QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
            GTEST_SKIP() << "the main window holds the OpenGL view, which needs an X display";
        }
        GetApp()->settingsPath = folder_.filePath(QStringLiteral("k_r_v.ini"));
        GetApp()->useEnglish = false;
    }

    QTemporaryDir folder_;
    FakeDialogs dialogs_;
};

TEST_F(StartupTest, FirstStartAsksAndWritesTheChoiceAtOnce) {
    FakeChooser english(1);
    {
        Startup startup(*GetApp(), dialogs_, english);
        ASSERT_TRUE(startup.Run({QStringLiteral("korvane")}));
        EXPECT_EQ(english.asked, 1);
        EXPECT_TRUE(IsEnglish());
        ASSERT_NE(startup.frame(), nullptr);
        EXPECT_TRUE(startup.frame()->isVisible());
        EXPECT_EQ(startup.frame()->windowTitle(), QString::fromLatin1(kProductAndVersion));
        EXPECT_EQ(FileMenuTitle(*startup.frame()), QStringLiteral("&File"));
        EXPECT_EQ(GetDocument(), startup.document());
        EXPECT_EQ(startup.frame()->centralWidget(), startup.frame()->view());
        EXPECT_EQ(Content(GetApp()->settingsPath), QByteArray("english\n"))
            << "a run that is killed must not ask again";
    }
    EXPECT_EQ(GetDocument(), nullptr);
    EXPECT_EQ(Content(GetApp()->settingsPath), QByteArray("english\n"));
}

TEST_F(StartupTest, EscapeInTheDialogMeansJapanese) {
    FakeChooser leftWithEscape(0);
    {
        Startup startup(*GetApp(), dialogs_, leftWithEscape);
        ASSERT_TRUE(startup.Run({QStringLiteral("korvane")}));
        EXPECT_FALSE(IsEnglish());
        EXPECT_EQ(FileMenuTitle(*startup.frame()), QStringLiteral("ﾌｧｲﾙ(&F)"));
    }
    EXPECT_EQ(Content(GetApp()->settingsPath), QByteArray("japanese\n"));
}

TEST_F(StartupTest, CapitalEnglishSelectsJapaneseAndIsRewritten) {
    QFile file(GetApp()->settingsPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("English\n");
    file.close();
    FakeChooser unused(1);
    {
        Startup startup(*GetApp(), dialogs_, unused);
        ASSERT_TRUE(startup.Run({QStringLiteral("korvane")}));
        EXPECT_EQ(unused.asked, 0);
        EXPECT_FALSE(IsEnglish());
    }
    EXPECT_EQ(Content(GetApp()->settingsPath), QByteArray("japanese\n"));
}

// Qt's own dialogs and buttons speak the language of the run, for as long as the program runs.
TEST_F(StartupTest, QtsOwnTextsFollowTheLanguageChosen) {
    const struct {
        int choice;
        const char* cancel;
    } kLanguages[] = {{0, "キャンセル"}, {1, "Cancel"}};
    for (const auto& language : kLanguages) {
        QFile::remove(GetApp()->settingsPath);
        FakeChooser chooser(language.choice);
        {
            Startup startup(*GetApp(), dialogs_, chooser);
            ASSERT_TRUE(startup.Run({QStringLiteral("korvane")}));
            EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                      QString::fromUtf8(language.cancel));
        }
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"))
            << "removed with the program";
    }
}

TEST_F(StartupTest, UnwritableSettingsPlaceIsSurvived) {
    GetApp()->settingsPath = folder_.filePath(QStringLiteral("missing/k_r_v.ini"));
    for (int start = 0; start < 2; ++start) {
        FakeChooser english(1);
        {
            Startup startup(*GetApp(), dialogs_, english);
            ASSERT_TRUE(startup.Run({QStringLiteral("korvane")}));
        }
        EXPECT_EQ(english.asked, 1) << "asked again at every start";
    }
    EXPECT_FALSE(QFile::exists(GetApp()->settingsPath));
}

TEST_F(StartupTest, ModelOnTheCommandLineIsImportedAtStart) {
    WriteLanguageSetting(GetApp()->settingsPath, true);
    FakeChooser unused(1);
    Startup startup(*GetApp(), dialogs_, unused);
    ASSERT_TRUE(startup.Run({QStringLiteral("korvane"), KORVANE_EXAMPLES_DIR "/head.mqo"}));
    ASSERT_EQ(startup.document()->Objects().GetCount(), 1);
    EXPECT_EQ(startup.document()->Objects().GetHead()->name, "head");
    // The model is shown whole: the camera aims at the centre of its points.
    const Vec3 centre = ControlPointBounds(startup.document()->Objects()).Centre();
    EXPECT_EQ(startup.document()->camera.target.x, centre.x);
    EXPECT_EQ(startup.document()->camera.target.y, centre.y);
    EXPECT_EQ(startup.document()->camera.target.z, centre.z);
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_TRUE(QTest::qWaitForWindowExposed(startup.frame()));
}

// Every model named is imported in turn, as a drop imports them: one that cannot be read is told
// and the others come in all the same.
TEST_F(StartupTest, EveryModelOnTheCommandLineIsImportedInOrder) {
    WriteLanguageSetting(GetApp()->settingsPath, true);
    FakeChooser unused(1);
    Startup startup(*GetApp(), dialogs_, unused);
    const QString missing = folder_.filePath(QStringLiteral("missing.mqo"));
    ASSERT_TRUE(startup.Run({QStringLiteral("korvane"), KORVANE_EXAMPLES_DIR "/head.mqo", missing,
                             KORVANE_EXAMPLES_DIR "/vase.mqo", KORVANE_EXAMPLES_DIR "/torus.mqo"}));
    QStringList names;
    for (const PatchObject* object : startup.document()->Objects()) {
        names << QString::fromStdString(object->name);
    }
    EXPECT_EQ(names, (QStringList{"head", "vase", "torus"}));
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].second, QStringLiteral("Error"));
    EXPECT_EQ(startup.frame()->recentFiles().paths().first(),
              QFileInfo(KORVANE_EXAMPLES_DIR "/torus.mqo").absoluteFilePath());
}

TEST_F(StartupTest, UnknownOptionEndsTheStartBeforeAnything) {
    FakeChooser unused(1);
    Startup startup(*GetApp(), dialogs_, unused);
    EXPECT_FALSE(startup.Run({QStringLiteral("korvane"), QStringLiteral("--embedding")}));
    EXPECT_EQ(unused.asked, 0);
    EXPECT_EQ(startup.frame(), nullptr);
    EXPECT_EQ(GetDocument(), nullptr);
}

}  // namespace
}  // namespace korvane
