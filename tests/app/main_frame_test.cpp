#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QWheelEvent>

#include <string>
#include <vector>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/korv_view.h"
#include "app/main_frame.h"
#include "app/object_tree_bar.h"
#include "app/status_text_bar.h"
#include "export/animation_master_writer.h"
#include "export/rvp_writer.h"
#include "export/spatch_writer.h"
#include "fake_dialogs.h"
#include "korvane_version.h"
#include "model_files.h"
#include "resources/message_texts.h"
#include "status_recorder.h"
#include "view/camera_framing.h"

namespace korvane {
namespace {

using testing::FakeDialogs;
using testing::GridModel;
using testing::StatusRecorder;
using testing::WriteFile;

// A menu as text: items by their text, separators as "-", submenus as "title{...}".
QString Describe(const QMenu* menu) {
    QStringList items;
    for (const QAction* action : menu->actions()) {
        if (!action->isVisible()) {
            continue;
        }
        if (action->isSeparator()) {
            items << QStringLiteral("-");
        } else if (action->menu() != nullptr) {
            items << action->text() + QLatin1Char('{') + Describe(action->menu()) +
                         QLatin1Char('}');
        } else {
            items << action->text() + QLatin1Char('=') + action->objectName();
        }
    }
    return items.join(QLatin1Char('|'));
}

QStringList DescribeMenuBar(const CMainFrame& frame) {
    QStringList menus;
    for (const QAction* action : frame.menuBar()->actions()) {
        menus << action->text() + QLatin1Char('{') + Describe(action->menu()) + QLatin1Char('}');
    }
    return menus;
}

QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The main window on a fresh document, in the language of the test.
class MainFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
            GTEST_SKIP() << "the main window holds the OpenGL view, which needs an X display";
        }
        Open(1);
    }

    void Open(int english) {
        frame_.reset();
        document_.reset();
        // The recent files are kept beside the settings file: each test starts with none.
        GetApp()->settingsPath = folder_.filePath(QStringLiteral("k_r_v.ini"));
        GetApp()->useEnglish = english;
        GetApp()->navigationMode = NavigationMode::kMove;
        document_ = std::make_unique<CKorvDoc>();
        frame_ = std::make_unique<CMainFrame>(document_.get(), dialogs_);
        document_->OnNewDocument();
    }

    void Trigger(CommandId id) {
        QAction* action = frame_->Command(id);
        ASSERT_NE(action, nullptr) << static_cast<int>(id);
        action->trigger();
    }

    QStringList TreeItems() const {
        QStringList items;
        const QTreeWidget* tree = frame_->treeBar()->dialog()->tree();
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            items << tree->topLevelItem(i)->text(0);
        }
        return items;
    }

    QString Write(const QString& name, const QByteArray& content) {
        const QString path = folder_.filePath(name);
        EXPECT_TRUE(WriteFile(path, content));
        return path;
    }

    QTemporaryDir folder_;
    FakeDialogs dialogs_;
    std::unique_ptr<CKorvDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
};

TEST_F(MainFrameTest, EnglishMenusHoldTheirTextsAndCommands) {
    EXPECT_EQ(DescribeMenuBar(*frame_),
              (QStringList{"&File{New Document\tCtrl+N=57600|-|Import{Metasequoia(*.mqo)=32771|"
                           "LightWave(*.lwo)=32777|3D Studio(*.3ds)=32776|Other formats...=32788}|"
                           "Export{ruvoPatch(*.rvp)=32772|Animation Master(*.mdl)=32778|"
                           "sPatch(*.spt)=32773|Surface mesh (OBJ, PLY, STL, glTF)=32789|"
                           "STEP (*.step)=32790|IGES (*.igs)=32791}|-|"
                           "&Exit=57665}",
                           "&Edit{Connect Curve=32775}",
                           "&View{Toolbar=59392|-|&Points=32779|&Curves=32780|&Surfaces=32781|"
                           "Smooth surfaces=32792|-|Frame &All=32787|-|Setting=32774|"
                           "Document=32783}",
                           "&Help{Version Information=57664}"}));
    EXPECT_EQ(frame_->windowTitle(), QString::fromLatin1(kProductAndVersion));
}

TEST_F(MainFrameTest, JapaneseMenusKeepTheHalfWidthKatakana) {
    Open(0);
    EXPECT_EQ(
        DescribeMenuBar(*frame_),
        (QStringList{"ﾌｧｲﾙ(&F){新規作成(&N)\tCtrl+N=57600|-|インポート{メタセコイア(*.mqo)=32771|"
                     "LightWave(*.lwo)=32777|3D Studio(*.3ds)=32776|その他の形式...=32788}|"
                     "エクスポート{ruvoPatch(*.rvp)=32772|Animation Master(*.mdl)=32778|"
                     "sPatch(*.spt)=32773|サーフェスメッシュ (OBJ, PLY, STL, glTF)=32789|"
                     "STEP(*.step)=32790|IGES(*.igs)=32791}|-|"
                     "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)=57665}",
                     "編集(&E){カーブ同士を接続=32775}",
                     "表示(&V){ﾂｰﾙ ﾊﾞｰ(&T)=59392|-|頂点(&P)=32779|カーブ(&C)=32780|"
                     "サーフェス(&S)=32781|滑らかなサーフェス=32792|-|全体を表示(&A)=32787|-|"
                     "表示設定(&D)=32774|ドキュメント=32783}",
                     "ﾍﾙﾌﾟ(&H){ﾊﾞｰｼﾞｮﾝ情報 (&A)...=57664}"}));
    EXPECT_EQ(frame_->windowTitle(), QString::fromLatin1(kProductAndVersion));
}

// The keys a menu item shows after a tab are an accelerator of the window that runs the item's
// command, and both languages show the same keys.
TEST_F(MainFrameTest, KeysShownInTheMenusRunTheirCommands) {
    QStringList shownBy[2];
    for (int english : {1, 0}) {
        Open(english);
        for (QAction* command : frame_->actions()) {
            const qsizetype tab = command->text().indexOf(QLatin1Char('\t'));
            if (tab < 0) {
                continue;
            }
            const QKeySequence keys(command->text().mid(tab + 1));
            shownBy[english] << command->objectName() + QLatin1Char('=') + keys.toString();
            QShortcut* accelerator = nullptr;
            for (QShortcut* shortcut : frame_->findChildren<QShortcut*>()) {
                if (shortcut->key() == keys) {
                    accelerator = shortcut;
                }
            }
            ASSERT_NE(accelerator, nullptr) << shownBy[english].join(' ').toStdString();
            QSignalSpy triggered(command, &QAction::triggered);
            emit accelerator->activated();
            EXPECT_EQ(triggered.count(), 1) << shownBy[english].join(' ').toStdString();
        }
    }
    EXPECT_EQ(shownBy[1], shownBy[0]);
    EXPECT_TRUE(shownBy[1].contains(QStringLiteral("57600=Ctrl+N")));
}

TEST_F(MainFrameTest, ToolbarHasThirteenButtonsInTheirGroupsWithSharpImages) {
    QStringList buttons;
    for (const QAction* action : frame_->toolBar()->actions()) {
        buttons << (action->isSeparator() ? QStringLiteral("|") : action->objectName());
    }
    EXPECT_EQ(buttons.join(QLatin1Char(' ')),
              QStringLiteral("57600 | 32771 | 32772 | 32775 | 32779 32780 32781 32782 | "
                             "32784 32785 32786 32787 | 57664"));
    EXPECT_EQ(frame_->toolBar()->iconSize(), QSize(16, 16));
    for (const QAction* action : frame_->toolBar()->actions()) {
        if (action->isSeparator()) {
            continue;
        }
        // Drawn for a screen of twice the density, the image has twice the pixels, not a blow-up.
        const QImage doubled = action->icon().pixmap(QSize(16, 16), 2.0).toImage();
        EXPECT_EQ(doubled.size(), QSize(32, 32)) << action->objectName().toStdString();
        const QImage single = action->icon().pixmap(QSize(16, 16), 1.0).toImage();
        EXPECT_NE(doubled.scaled(16, 16), single.convertToFormat(doubled.format()))
            << "not merely scaled: " << action->objectName().toStdString();
        int painted = 0;
        for (int y = 0; y < doubled.height(); ++y) {
            for (int x = 0; x < doubled.width(); ++x) {
                painted += qAlpha(doubled.pixel(x, y)) > 0 ? 1 : 0;
            }
        }
        EXPECT_GT(painted, 20) << action->objectName().toStdString();
    }
}

TEST_F(MainFrameTest, PromptsAreTheSameInBothLanguages) {
    for (int english : {1, 0}) {
        Open(english);
        EXPECT_EQ(frame_->Command(CommandId::kConnectCurve)->statusTip(),
                  QStringLiteral("connect"));
        EXPECT_EQ(frame_->Command(CommandId::kShowSurfaces)->statusTip(),
                  QStringLiteral("show/hide surface"));
        EXPECT_EQ(frame_->Command(CommandId::kAbout)->statusTip(),
                  QStringLiteral("version information"));
        EXPECT_EQ(frame_->Command(CommandId::kToggleToolbar)->statusTip(),
                  QStringLiteral("Show / Hide Toolbar"));
        EXPECT_TRUE(frame_->Command(CommandId::kImportMetasequoia)->statusTip().isEmpty());
    }
}

TEST_F(MainFrameTest, EveryCommandIsReachedFromAMenuOrTheToolbar) {
    QList<QAction*> reachable = frame_->toolBar()->actions();
    for (const QMenu* menu : frame_->menuBar()->findChildren<QMenu*>()) {
        reachable += menu->actions();
    }
    ASSERT_FALSE(frame_->actions().isEmpty());
    for (QAction* command : frame_->actions()) {
        EXPECT_TRUE(reachable.contains(command)) << command->objectName().toStdString();
    }
}

TEST_F(MainFrameTest, ShowCurvesTwiceRestoresAndIsTickedWhileCurvesShow) {
    QAction* curves = frame_->Command(CommandId::kShowCurves);
    EXPECT_TRUE(curves->isChecked());
    EXPECT_FALSE(frame_->Command(CommandId::kShowVertices)->isChecked());
    EXPECT_FALSE(frame_->Command(CommandId::kShowSurfaces)->isChecked());
    Trigger(CommandId::kShowCurves);
    EXPECT_FALSE(document_->displaySettings.showCurves);
    EXPECT_FALSE(curves->isChecked());
    Trigger(CommandId::kShowCurves);
    EXPECT_TRUE(document_->displaySettings.showCurves);
    EXPECT_TRUE(curves->isChecked());
    Trigger(CommandId::kShowSurfaces);
    EXPECT_TRUE(document_->displaySettings.showSurfaces);
    EXPECT_TRUE(frame_->Command(CommandId::kShowSurfaces)->isChecked());
}

// Smooth surfaces is ticked while on, redraws, and is on again in the next run in either language,
// as k_r_v.smooth remembers; a side file with anything but 1 or 0 in it leaves them off.
TEST_F(MainFrameTest, SmoothSurfacesAreTickedAndRememberedForTheNextRun) {
    const auto expectSmooth = [this](bool on) {
        EXPECT_EQ(document_->displaySettings.smoothSurfaces, on);
        EXPECT_EQ(frame_->Command(CommandId::kSmoothSurfaces)->isChecked(), on);
    };
    expectSmooth(false);
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on);
        QSignalSpy redrawn(document_.get(), &CKorvDoc::changed);
        Trigger(CommandId::kSmoothSurfaces);
        expectSmooth(on);
        EXPECT_EQ(redrawn.count(), 1);
        for (const int english : {0, 1}) {
            Open(english);
            expectSmooth(on);
        }
    }
    const struct {
        const char* content;
        bool on;
    } kSideFiles[] = {{"1\n", true}, {" 1\r\n", true}, {"0\n", false}, {"yes\n", false},
                      {"", false},   {"10\n", false},  {"1 0", false}};
    for (const auto& side : kSideFiles) {
        SCOPED_TRACE(side.content);
        Write(QStringLiteral("k_r_v.smooth"), side.content);
        Open(1);
        expectSmooth(side.on);
    }
    EXPECT_EQ(Content(folder_.filePath(QStringLiteral("k_r_v.ini"))), "english\n")
        << "the settings file keeps its one word";
}

// The surface mesh the desktop writes is that of the surfaces the view shows.
TEST_F(MainFrameTest, SurfaceMeshExportWritesTheSurfacesTheViewShows) {
    dialogs_.answers = {KORVANE_EXAMPLES_DIR "/torus.mqo"};
    Trigger(CommandId::kImportMetasequoia);
    QByteArray written[2];
    QByteArray expected[2];
    for (const bool smooth : {false, true}) {
        if (document_->displaySettings.smoothSurfaces != smooth) {
            Trigger(CommandId::kSmoothSurfaces);
        }
        const QString path = folder_.filePath(QStringLiteral("view%1.ply").arg(smooth));
        dialogs_.answers = {path};
        Trigger(CommandId::kExportSurfaceMesh);
        written[smooth] = Content(path);
        const QString direct = folder_.filePath(QStringLiteral("direct%1.ply").arg(smooth));
        ASSERT_EQ(
            document_->Export(QFile::encodeName(direct).toStdString(), {.smoothSurfaces = smooth})
                .status,
            WriteStatus::kWritten);
        expected[smooth] = Content(direct);
        EXPECT_FALSE(written[smooth].isEmpty());
        EXPECT_EQ(written[smooth], expected[smooth]);
    }
    EXPECT_NE(written[0], written[1]);
}

TEST_F(MainFrameTest, SettingSetsBothResolutionsAndCancelKeepsThem) {
    dialogs_.settings = SettingValues{7, 1, 0, 1};
    Trigger(CommandId::kSettingButton);
    ASSERT_TRUE(dialogs_.presetSettings.has_value());
    EXPECT_EQ(dialogs_.presetSettings->resolution, 1);
    EXPECT_TRUE(dialogs_.presetSettings->showCurves);
    const DisplaySettings& shown = document_->displaySettings;
    EXPECT_EQ(shown.curveResolution, 7);
    EXPECT_EQ(shown.surfaceResolution, 7);
    EXPECT_TRUE(shown.showVertices);
    EXPECT_FALSE(shown.showCurves);
    EXPECT_TRUE(shown.showSurfaces);
    EXPECT_FALSE(frame_->Command(CommandId::kShowCurves)->isChecked());

    dialogs_.settings.reset();
    Trigger(CommandId::kSetting);
    EXPECT_EQ(dialogs_.presetSettings->resolution, 7);
    EXPECT_EQ(shown.curveResolution, 7);
    EXPECT_TRUE(shown.showVertices);
}

TEST_F(MainFrameTest, NavigationModesAreTickedOneAtATime) {
    const auto ticked = [this] {
        return std::vector<bool>{frame_->Command(CommandId::kRotateMode)->isChecked(),
                                 frame_->Command(CommandId::kMoveMode)->isChecked(),
                                 frame_->Command(CommandId::kZoomMode)->isChecked()};
    };
    EXPECT_EQ(ticked(), (std::vector<bool>{false, true, false}));
    Trigger(CommandId::kZoomMode);
    EXPECT_EQ(GetApp()->navigationMode, NavigationMode::kZoom);
    EXPECT_EQ(ticked(), (std::vector<bool>{false, false, true}));
    Trigger(CommandId::kRotateMode);
    EXPECT_EQ(GetApp()->navigationMode, NavigationMode::kRotate);
    EXPECT_EQ(ticked(), (std::vector<bool>{true, false, false}));
}

TEST_F(MainFrameTest, ToolbarCommandHidesAndShowsTheToolbar) {
    frame_->show();
    EXPECT_TRUE(frame_->Command(CommandId::kToggleToolbar)->isChecked());
    Trigger(CommandId::kToggleToolbar);
    EXPECT_TRUE(frame_->toolBar()->isHidden());
    EXPECT_FALSE(frame_->Command(CommandId::kToggleToolbar)->isChecked());
    Trigger(CommandId::kToggleToolbar);
    EXPECT_FALSE(frame_->toolBar()->isHidden());
    EXPECT_TRUE(frame_->Command(CommandId::kToggleToolbar)->isChecked());
}

TEST_F(MainFrameTest, AboutAndDocumentOpenTheirDialogs) {
    Trigger(CommandId::kAbout);
    Trigger(CommandId::kDocumentInfo);
    EXPECT_EQ(dialogs_.aboutShown, 1);
    EXPECT_EQ(dialogs_.documentInfoShown, 1);
}

TEST_F(MainFrameTest, TreeListsTwoImportsInOrderAndEmptiesOnNew) {
    EXPECT_TRUE(TreeItems().isEmpty());
    dialogs_.answers = {KORVANE_EXAMPLES_DIR "/vase.mqo", KORVANE_EXAMPLES_DIR "/torus.mqo"};
    Trigger(CommandId::kImportMetasequoia);
    Trigger(CommandId::kImportMetasequoia);
    EXPECT_EQ(TreeItems(), (QStringList{"vase", "torus"}));
    EXPECT_EQ(frame_->treeBar()->dialog()->tree()->objectName(), QStringLiteral("1012"));

    // A LightWave import is listed as well.
    const QString lightWave = QStringLiteral(KORVANE_CORPUS_DIR "/lwo/LWOB_ConcavePolygon.lwo");
    if (QFile::exists(lightWave)) {
        dialogs_.answers = {lightWave};
        Trigger(CommandId::kImportLightWave);
        ASSERT_EQ(document_->Objects().GetCount(), 3);
        EXPECT_EQ(TreeItems(), (QStringList{"vase", "torus", "LWOB_ConcavePolygon"}));
    }
    Trigger(CommandId::kFileNew);
    EXPECT_TRUE(TreeItems().isEmpty());
    EXPECT_TRUE(document_->Objects().IsEmpty());
}

int HighlightedPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixel(x, y) == qRgb(255, 255, 0) ? 1 : 0;
        }
    }
    return count;
}

// Clicking an object in the tree draws its points and curves in the highlight colour, which
// nothing else uses; with nothing selected the picture is exactly what it was. New and an import
// leave nothing selected.
TEST_F(MainFrameTest, TheObjectSelectedInTheTreeIsHighlightedInTheView) {
    dialogs_.answers = {KORVANE_EXAMPLES_DIR "/vase.mqo", KORVANE_EXAMPLES_DIR "/torus.mqo"};
    Trigger(CommandId::kImportMetasequoia);
    Trigger(CommandId::kImportMetasequoia);
    Trigger(CommandId::kShowVertices);
    frame_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
    const QImage plain = frame_->view()->grabFramebuffer();
    EXPECT_EQ(HighlightedPixels(plain), 0);

    QTreeWidget* tree = frame_->treeBar()->dialog()->tree();
    int highlighted[2] = {0, 0};
    for (int item = 0; item < 2; ++item) {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(tree->topLevelItem(item)).center());
        EXPECT_EQ(document_->displaySettings.selectedObject, item);
        highlighted[item] = HighlightedPixels(frame_->view()->grabFramebuffer());
        EXPECT_GT(highlighted[item], 100) << item;
    }
    EXPECT_NE(highlighted[0], highlighted[1]) << "each object is highlighted alone";

    tree->clearSelection();
    EXPECT_EQ(document_->displaySettings.selectedObject, -1);
    EXPECT_EQ(frame_->view()->grabFramebuffer(), plain);

    tree->topLevelItem(0)->setSelected(true);
    dialogs_.answers = {KORVANE_EXAMPLES_DIR "/head.mqo"};
    Trigger(CommandId::kImportMetasequoia);
    EXPECT_EQ(document_->displaySettings.selectedObject, -1);
    EXPECT_TRUE(tree->selectedItems().isEmpty());
    tree->topLevelItem(2)->setSelected(true);
    EXPECT_EQ(document_->displaySettings.selectedObject, 2);
    Trigger(CommandId::kFileNew);
    EXPECT_EQ(document_->displaySettings.selectedObject, -1);
}

TEST_F(MainFrameTest, TreeShowsShiftJisEmptyAndRepeatedNames) {
    QByteArray model = GridModel({"\x83\x7E\x83\x4E", "\xE6\x9B\xB2", "box", "box"});
    dialogs_.answers = {Write(QStringLiteral("names.mqo"), model)};
    Trigger(CommandId::kImportMetasequoia);
    ASSERT_EQ(document_->Objects().GetCount(), 4);
    EXPECT_EQ(document_->Objects().GetHead()->name, "\x83\x7E\x83\x4E") << "bytes stay as read";
    EXPECT_EQ(TreeItems(), (QStringList{"ミク", "曲", "box", "box"}));
}

TEST_F(MainFrameTest, ConnectCurveOnACorpusModelRunsInTheBackgroundWithCommandsDisabled) {
    const QString model = QStringLiteral(KORVANE_CORPUS_DIR "/mqo/Golem.mqo");
    if (!QFile::exists(model)) {
        GTEST_SKIP() << "no corpus at " << model.toStdString();
    }
    dialogs_.answers = {model};
    Trigger(CommandId::kImportMetasequoia);
    ASSERT_FALSE(document_->Objects().IsEmpty());
    StatusRecorder recorder;
    dialogs_.limitAngle = 150.0f;
    Trigger(CommandId::kConnectCurve);

    // The worker hands its end to this thread, which has not run its events yet.
    ASSERT_TRUE(frame_->IsConverting());
    for (const CommandId id :
         {CommandId::kFileNew, CommandId::kImportMetasequoia, CommandId::kExportRuvoPatch,
          CommandId::kConnectCurve, CommandId::kSetting, CommandId::kSettingButton,
          CommandId::kDocumentInfo, CommandId::kShowVertices, CommandId::kShowCurves,
          CommandId::kShowSurfaces, CommandId::kImportLightWave, CommandId::kImport3dStudio,
          CommandId::kExportAnimationMaster, CommandId::kExportSPatch, CommandId::kFrameAll}) {
        EXPECT_FALSE(frame_->Command(id)->isEnabled()) << static_cast<int>(id);
    }
    for (const QAction* action : frame_->menuBar()->actions().first()->menu()->actions()) {
        if (action->text().startsWith(QStringLiteral("&1 "))) {
            EXPECT_FALSE(action->isEnabled()) << "a recent file waits like the imports";
        }
    }
    for (const CommandId id : {CommandId::kExit, CommandId::kToggleToolbar, CommandId::kRotateMode,
                               CommandId::kMoveMode, CommandId::kZoomMode, CommandId::kAbout}) {
        EXPECT_TRUE(frame_->Command(id)->isEnabled()) << static_cast<int>(id);
    }
    Trigger(CommandId::kImportMetasequoia);
    EXPECT_EQ(dialogs_.answers.size(), 0) << "a disabled command asks for nothing";
    EXPECT_EQ(dialogs_.limitAngleAsked, 1);

    frame_->WaitForConversion();
    EXPECT_FALSE(frame_->IsConverting());
    for (const CommandId id :
         {CommandId::kFileNew, CommandId::kImportMetasequoia, CommandId::kExportRuvoPatch,
          CommandId::kConnectCurve, CommandId::kDocumentInfo}) {
        EXPECT_TRUE(frame_->Command(id)->isEnabled()) << static_cast<int>(id);
    }
    const std::vector<std::string> texts = recorder.texts();
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts.front(), "Start");
    EXPECT_EQ(texts.back(), "Ready");
    // Between them, each object's progress in list order, counting up to its last point, then
    // its patch search.
    size_t at = 1;
    for (const PatchObject* object : document_->Objects()) {
        const std::string prefix = object->name + " ";
        const std::string last = prefix + std::to_string(object->PointCount() - 1) + " / " +
                                 std::to_string(object->PointCount());
        std::string seen;
        for (; at + 1 < texts.size() && texts[at].starts_with(prefix); ++at) {
            seen = texts[at];
        }
        if (object->PointCount() > 0) {
            EXPECT_EQ(seen, last);
        }
        const QString search = QString::fromUtf8(PatchSearchStatus(IsEnglish()))
                                   .arg(QString::fromStdString(object->name));
        const std::string searchPrefix =
            search.left(search.indexOf(QStringLiteral("%2"))).toStdString();
        for (; at + 1 < texts.size() && texts[at].starts_with(searchPrefix); ++at) {
        }
    }
    EXPECT_EQ(at + 1, texts.size());
    EXPECT_EQ(frame_->statusTextBar()->dialog()->field()->text(), QStringLiteral("Ready"));
}

TEST_F(MainFrameTest, CancelInTheConnectDialogStartsNothing) {
    GetApp()->SetStatusText("kept");
    frame_->statusTextBar()->dialog()->Refresh();
    Trigger(CommandId::kConnectCurve);
    EXPECT_EQ(dialogs_.limitAngleAsked, 1);
    EXPECT_FALSE(frame_->IsConverting());
    EXPECT_EQ(frame_->statusTextBar()->dialog()->field()->text(), QStringLiteral("kept"));
    GetApp()->SetStatusText("Ready");
}

TEST_F(MainFrameTest, ClosingDuringARunClosesOnlyOnceTheRunHasEnded) {
    dialogs_.answers = {Write(QStringLiteral("grid.mqo"), GridModel({"a", "b", "c"}))};
    Trigger(CommandId::kImportMetasequoia);
    frame_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
    dialogs_.limitAngle = 150.0f;
    Trigger(CommandId::kConnectCurve);
    ASSERT_TRUE(frame_->IsConverting());
    EXPECT_FALSE(frame_->close());
    EXPECT_TRUE(frame_->isVisible());
    dialogs_.discard = true;  // the connected curves were never exported
    frame_->WaitForConversion();
    EXPECT_EQ(dialogs_.discardAsked, 1);
    EXPECT_FALSE(frame_->isVisible());
    for (const PatchObject* object : document_->Objects()) {
        EXPECT_EQ(object->SplineCount(), 6) << "the run went to its end";
    }
}

// What each export writes: the spline-patch files' whole contents as their writers make them; of a
// CAD file (which holds the time it was written) its kind.
struct ModelExport {
    CommandId command;
    const char* filter;
    const char* suffix;
    void (*checkFile)(const QByteArray& file, const ObjectList<PatchObject>& objects);
};

const ModelExport kModelExports[] = {
    {CommandId::kExportRuvoPatch, "ruvoPatch File(*.rvp)", "rvp",
     [](const QByteArray& file, const ObjectList<PatchObject>& objects) {
         const std::vector<std::uint8_t> bytes = SerializeRvp(objects);
         EXPECT_EQ(file, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                    static_cast<qsizetype>(bytes.size())));
     }},
    {CommandId::kExportAnimationMaster, "Animation Master File(*.mdl)", "mdl",
     [](const QByteArray& file, const ObjectList<PatchObject>& objects) {
         EXPECT_EQ(file, QByteArray::fromStdString(SerializeAnimationMaster(objects)));
     }},
    {CommandId::kExportSPatch, "sPatch File(*.spt)", "spt",
     [](const QByteArray& file, const ObjectList<PatchObject>& objects) {
         EXPECT_EQ(file, QByteArray::fromStdString(SerializeSPatch(objects)));
     }},
    {CommandId::kExportStep, "STEP File(*.step *.stp)", "step",
     [](const QByteArray& file, const ObjectList<PatchObject>&) {
         EXPECT_TRUE(file.startsWith("ISO-10303-21;")) << file.left(80).toStdString();
     }},
    // An IGES file opens with its start section: 72 columns of text, then S0000001.
    {CommandId::kExportIges, "IGES File(*.igs *.iges)", "igs",
     [](const QByteArray& file, const ObjectList<PatchObject>&) {
         EXPECT_EQ(file.mid(72, 8), QByteArray("S0000001")) << file.left(80).toStdString();
     }}};

TEST_F(MainFrameTest, ExportsWriteEveryObjectAndNameTheFileWhenTheyCannot) {
    for (const ModelExport& format : kModelExports) {
        SCOPED_TRACE(format.suffix);
        Open(1);
        dialogs_.messages.clear();
        dialogs_.answers = {KORVANE_EXAMPLES_DIR "/vase.mqo", KORVANE_EXAMPLES_DIR "/torus.mqo"};
        Trigger(CommandId::kImportMetasequoia);
        Trigger(CommandId::kImportMetasequoia);
        const QString suffix = QString::fromLatin1(format.suffix);
        const QString path = folder_.filePath(QStringLiteral("out.") + suffix);
        dialogs_.answers = {path};
        dialogs_.filters.clear();
        dialogs_.suffixes.clear();
        dialogs_.suggestedPaths.clear();
        Trigger(format.command);
        EXPECT_EQ(dialogs_.filters, QStringList{QString::fromLatin1(format.filter)});
        EXPECT_EQ(dialogs_.suffixes, QStringList{suffix});
        EXPECT_EQ(
            dialogs_.suggestedPaths,
            QStringList{QDir(QStringLiteral(KORVANE_EXAMPLES_DIR)).filePath("torus." + suffix)})
            << "the name of the model imported last";
        format.checkFile(Content(path), document_->Objects());
        EXPECT_TRUE(dialogs_.messages.empty());
        EXPECT_EQ(frame_->statusTextBar()->dialog()->field()->text(),
                  QStringLiteral("Wrote 2 objects to ") + QDir::toNativeSeparators(path));

        const QString unwritable = folder_.filePath(QStringLiteral("missing/out.") + suffix);
        dialogs_.answers = {unwritable};
        Trigger(format.command);
        ASSERT_EQ(dialogs_.messages.size(), 1u);
        EXPECT_TRUE(dialogs_.messages[0].first.contains(unwritable))
            << dialogs_.messages[0].first.toStdString();
        EXPECT_EQ(dialogs_.messages[0].second, QStringLiteral("Error"));
        EXPECT_FALSE(QFile::exists(unwritable));

        Open(0);
        dialogs_.answers = {unwritable};
        Trigger(format.command);
        ASSERT_EQ(dialogs_.messages.size(), 2u);
        EXPECT_EQ(dialogs_.messages[1].second, QStringLiteral("エラー"));

        Trigger(format.command);
        EXPECT_EQ(dialogs_.messages.size(), 2u) << "a cancelled dialog says nothing";
    }
}

// What an export wrote stays in the status field until the document changes: New and an import,
// also one that fails, make it "Ready" in both languages.
TEST_F(MainFrameTest, NewAndImportsClearWhatTheLastExportWrote) {
    const QString notes = Write(QStringLiteral("notes.txt"), "just words");
    const struct {
        int english;
        const char* written;
        CommandId then;
        QString imported;  // the file the import dialog is given
    } kCases[] = {
        {1, "Wrote 1 object to ", CommandId::kFileNew, {}},
        {0, "1個のオブジェクトを ", CommandId::kFileNew, {}},
        {1, "Wrote 1 object to ", CommandId::kImportMetasequoia, KORVANE_EXAMPLES_DIR "/torus.mqo"},
        {0, "1個のオブジェクトを ", CommandId::kImportOtherFormats, notes},
    };
    for (const auto& step : kCases) {
        SCOPED_TRACE(step.written);
        Open(step.english);
        dialogs_.importScale = 1.0f;
        dialogs_.answers = {KORVANE_EXAMPLES_DIR "/vase.mqo", folder_.filePath("vase.rvp")};
        Trigger(CommandId::kImportMetasequoia);
        Trigger(CommandId::kExportRuvoPatch);
        const QLineEdit* field = frame_->statusTextBar()->dialog()->field();
        ASSERT_TRUE(field->text().startsWith(QString::fromUtf8(step.written)))
            << field->text().toStdString();
        dialogs_.answers = {step.imported};
        Trigger(step.then);
        EXPECT_EQ(field->text(), QStringLiteral("Ready"));
    }
}

TEST_F(MainFrameTest, ControlNStartsANewDocument) {
    dialogs_.answers = {KORVANE_EXAMPLES_DIR "/vase.mqo"};
    Trigger(CommandId::kImportMetasequoia);
    frame_->show();
    frame_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
    QTest::keyClick(frame_.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(document_->Objects().IsEmpty());
}

TEST_F(MainFrameTest, BarsAreRegisteredInOrderAfterTheirDialogs) {
    const QList<QPointer<QObject>>& targets = GetApp()->notifyTargets;
    ASSERT_GE(targets.size(), 4);
    const qsizetype first = targets.size() - 4;
    EXPECT_EQ(targets[first], frame_->statusTextBar()->dialog());
    EXPECT_EQ(targets[first + 1], frame_->treeBar()->dialog());
    EXPECT_EQ(targets[first + 2], frame_->treeBar());
    EXPECT_EQ(targets[first + 3], frame_->statusTextBar());
    EXPECT_EQ(frame_->dockWidgetArea(frame_->treeBar()), Qt::RightDockWidgetArea);
    EXPECT_EQ(frame_->dockWidgetArea(frame_->statusTextBar()), Qt::BottomDockWidgetArea);
}

// Home and F show every object whole, whatever the camera did before; an import into an empty
// document does the same by itself.
TEST_F(MainFrameTest, FrameAllAimsAtTheCentreOfEveryObject) {
    frame_->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
    dialogs_.answers = {KORVANE_EXAMPLES_DIR "/head.mqo", KORVANE_EXAMPLES_DIR "/vase.mqo"};
    Trigger(CommandId::kImportMetasequoia);
    const Camera framedHead = document_->camera;
    Trigger(CommandId::kImportMetasequoia);
    EXPECT_EQ(document_->camera.eye.z, framedHead.eye.z) << "a second import keeps the camera";
    const Vec3 centre = ControlPointBounds(document_->Objects()).Centre();
    for (const Qt::Key key : {Qt::Key_Home, Qt::Key_F}) {
        document_->ResetCamera();
        QTest::keyClick(frame_->view(), key);
        EXPECT_EQ(document_->camera.target.x, centre.x) << key;
        EXPECT_EQ(document_->camera.target.y, centre.y) << key;
        EXPECT_EQ(document_->camera.target.z, centre.z) << key;
    }
}

float EyeDistance(const Camera& camera) {
    return Length(Subtract(camera.eye, camera.target));
}

void Wheel(QWidget* view, int delta) {
    const QPointF centre(view->width() / 2.0, view->height() / 2.0);
    QWheelEvent event(centre, view->mapToGlobal(centre), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &event);
}

TEST_F(MainFrameTest, WheelMovesTheEyeTowardsTheTargetAndBack) {
    const Camera start = document_->camera;
    Wheel(frame_->view(), 120);
    EXPECT_LT(EyeDistance(document_->camera), EyeDistance(start));
    EXPECT_EQ(document_->camera.target.z, start.target.z);
    Wheel(frame_->view(), -120);
    EXPECT_NEAR(EyeDistance(document_->camera), EyeDistance(start), 1e-3f * EyeDistance(start));
}

void Drop(QWidget* target, const QStringList& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files) {
        urls << QUrl::fromLocalFile(file);
    }
    data.setUrls(urls);
    const QPointF at(10, 10);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

// Dropped files are imported in order, by their content; what is no model is told as the import
// dialog tells it. Each import is remembered in the File menu, newest first, also by the next run.
TEST_F(MainFrameTest, DroppedFilesAreImportedInOrderAndRemembered) {
    const QString notes = Write(QStringLiteral("notes.txt"), "just words");
    Drop(frame_.get(),
         {KORVANE_EXAMPLES_DIR "/vase.mqo", KORVANE_EXAMPLES_DIR "/torus.mqo", notes});
    EXPECT_EQ(TreeItems(), (QStringList{"vase", "torus"}));
    ASSERT_EQ(dialogs_.messages.size(), 1u) << "what assimp cannot read either is told";
    EXPECT_TRUE(
        dialogs_.messages[0].first.startsWith(notes + QStringLiteral(" could not be read.")))
        << dialogs_.messages[0].first.toStdString();

    Open(1);
    const QStringList expected = {QFileInfo(KORVANE_EXAMPLES_DIR "/torus.mqo").absoluteFilePath(),
                                  QFileInfo(KORVANE_EXAMPLES_DIR "/vase.mqo").absoluteFilePath()};
    EXPECT_EQ(frame_->recentFiles().paths(), expected);
    QMenu* file = frame_->menuBar()->actions().first()->menu();
    QAction* first = nullptr;
    for (QAction* action : file->actions()) {
        if (action->isVisible() && action->text().startsWith(QStringLiteral("&1 "))) {
            first = action;
        }
    }
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(), QStringLiteral("&1 torus.mqo"));
    first->trigger();
    EXPECT_EQ(TreeItems(), QStringList{"torus"});
}

// What the desktop wrote as a ruvoPatch file opens again like any other model: dropped on the
// window, it brings back every object with its connected curves and its patches, and it is
// remembered in the File menu, from which it opens in the next run.
TEST_F(MainFrameTest, ARuvoPatchFileOpensDroppedAndFromTheRecentFiles) {
    dialogs_.answers = {KORVANE_EXAMPLES_DIR "/vase.mqo", KORVANE_EXAMPLES_DIR "/torus.mqo"};
    Trigger(CommandId::kImportMetasequoia);
    Trigger(CommandId::kImportMetasequoia);
    dialogs_.limitAngle = 150.0f;
    Trigger(CommandId::kConnectCurve);
    frame_->WaitForConversion();
    const ObjectCounts connected = document_->Count().totals;
    const QString figure = folder_.filePath(QStringLiteral("figure.rvp"));
    dialogs_.answers = {figure};
    Trigger(CommandId::kExportRuvoPatch);
    Trigger(CommandId::kFileNew);
    ASSERT_TRUE(document_->Objects().IsEmpty());

    const auto expectFigure = [&] {
        EXPECT_EQ(TreeItems(), (QStringList{"vase", "torus"}));
        const ObjectCounts read = document_->Count().totals;
        EXPECT_EQ(read.controlPoints, connected.controlPoints);
        EXPECT_EQ(read.splines, connected.splines);
        EXPECT_EQ(read.closedSplines, connected.closedSplines);
        EXPECT_EQ(read.quadPatches, connected.quadPatches);
        EXPECT_EQ(read.triPatches, connected.triPatches);
        for (const PatchObject* object : document_->Objects()) {
            EXPECT_TRUE(object->PatchesValid()) << "the view draws them at once";
        }
        EXPECT_TRUE(dialogs_.messages.empty());
    };
    Drop(frame_.get(), {figure});
    expectFigure();
    EXPECT_EQ(frame_->recentFiles().paths().first(), QFileInfo(figure).absoluteFilePath());

    Open(1);
    QAction* first = nullptr;
    for (QAction* action : frame_->menuBar()->actions().first()->menu()->actions()) {
        if (action->isVisible() && action->text().startsWith(QStringLiteral("&1 "))) {
            first = action;
        }
    }
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(), QStringLiteral("&1 figure.rvp"));
    first->trigger();
    expectFigure();
}

// A recent file that cannot be imported any more is named with the reason, in the language of the
// run; one that is gone leaves the list, one that is there but cannot be opened stays on it.
TEST_F(MainFrameTest, ARecentFileThatCannotBeReadIsNamedWithTheReason) {
    const auto remove = [](const QString& path) { return QFile::remove(path); };
    const auto removeFolder = [](const QString& path) {
        return QDir(QFileInfo(path).path()).removeRecursively();
    };
    // A link to itself cannot be opened, whoever runs the test.
    const auto loop = [](const QString& path) {
        return QFile::remove(path) && QFile::link(QFileInfo(path).fileName(), path);
    };
    const struct {
        int english;
        bool (*spoil)(const QString& path);
        const char* message;  // %1 is the file
        const char* caption;
        bool staysListed;
    } kCases[] = {
        {1, remove, "%1 is no longer there, so it was taken off the recent files.", "Error", false},
        {0, removeFolder, "%1 が見つかりません。最近使ったファイルの一覧から外しました。", "エラー",
         false},
        {1, loop, "%1 cannot be read: it is there, but it could not be opened for reading.",
         "Error", true},
        {0, loop, "%1 を読み込めません。ファイルはありますが、読み取り用に開けませんでした。",
         "エラー", true},
    };
    int made = 0;
    for (const auto& expected : kCases) {
        SCOPED_TRACE(expected.message);
        Open(expected.english);
        ASSERT_TRUE(QDir(folder_.path()).mkpath(QString::number(made)));
        const QString path = Write(QStringLiteral("%1/model.mqo").arg(made++), GridModel({"a"}));
        dialogs_.answers = {path};
        Trigger(CommandId::kImportMetasequoia);
        ASSERT_EQ(frame_->recentFiles().paths().first(), path);
        ASSERT_TRUE(expected.spoil(path));
        Trigger(CommandId::kFileNew);
        dialogs_.messages.clear();

        QAction* first = nullptr;
        for (QAction* action : frame_->menuBar()->actions().first()->menu()->actions()) {
            if (action->isVisible() && action->text() == QStringLiteral("&1 model.mqo")) {
                first = action;
            }
        }
        ASSERT_NE(first, nullptr);
        first->trigger();
        ASSERT_EQ(dialogs_.messages.size(), 1u);
        EXPECT_EQ(dialogs_.messages[0].first,
                  QString::fromUtf8(expected.message).arg(QDir::toNativeSeparators(path)));
        EXPECT_EQ(dialogs_.messages[0].second, QString::fromUtf8(expected.caption));
        EXPECT_TRUE(document_->Objects().IsEmpty());
        EXPECT_EQ(frame_->recentFiles().paths().contains(path), expected.staysListed);
    }
}

// New and Exit ask before connected curves that were never exported are thrown away; an export
// or an answer to go on settles it.
TEST_F(MainFrameTest, NewAndExitAskBeforeLosingConnectedCurves) {
    dialogs_.answers = {KORVANE_EXAMPLES_DIR "/vase.mqo"};
    Trigger(CommandId::kImportMetasequoia);
    Trigger(CommandId::kFileNew);
    EXPECT_EQ(dialogs_.discardAsked, 0) << "an import alone loses nothing";

    dialogs_.answers = {KORVANE_EXAMPLES_DIR "/vase.mqo"};
    Trigger(CommandId::kImportMetasequoia);
    dialogs_.limitAngle = 150.0f;
    Trigger(CommandId::kConnectCurve);
    frame_->WaitForConversion();
    Trigger(CommandId::kFileNew);
    EXPECT_EQ(dialogs_.discardAsked, 1);
    EXPECT_EQ(document_->Objects().GetCount(), 1) << "kept when the user says no";
    frame_->show();
    EXPECT_FALSE(frame_->close());
    EXPECT_EQ(dialogs_.discardAsked, 2);

    dialogs_.answers = {folder_.filePath(QStringLiteral("vase.rvp"))};
    Trigger(CommandId::kExportRuvoPatch);
    Trigger(CommandId::kFileNew);
    EXPECT_EQ(dialogs_.discardAsked, 2) << "exported: nothing to lose";
    EXPECT_TRUE(document_->Objects().IsEmpty());
}

TEST_F(MainFrameTest, ToolbarButtonsShowTheirNamesInTheLanguageOfTheRun) {
    EXPECT_EQ(frame_->Command(CommandId::kConnectCurve)->toolTip(),
              QStringLiteral("Connect Curve"));
    EXPECT_EQ(frame_->Command(CommandId::kFrameAll)->toolTip(), QStringLiteral("Frame All"));
    Open(0);
    EXPECT_EQ(frame_->Command(CommandId::kConnectCurve)->toolTip(),
              QStringLiteral("カーブ同士を接続"));
    for (const QAction* action : frame_->toolBar()->actions()) {
        EXPECT_TRUE(action->isSeparator() || !action->toolTip().isEmpty())
            << action->objectName().toStdString();
    }
}

// An export never replaces a file the document came from: the name offered is another one, and
// the file itself is refused. An empty document, or surfaces without a patch, write nothing and
// say so; the status counts the objects that the file holds, in the singular for one.
TEST_F(MainFrameTest, ExportsKeepTheSourceAndSayWhenThereIsNothingToWrite) {
    const QString figure = folder_.filePath(QStringLiteral("figure.rvp"));
    dialogs_.answers = {KORVANE_EXAMPLES_DIR "/vase.mqo", figure};
    Trigger(CommandId::kImportMetasequoia);
    Trigger(CommandId::kExportRuvoPatch);
    const QByteArray written = Content(figure);

    const struct {
        int english;
        const char* message;
        const char* caption;
    } kRefusals[] = {
        {1,
         "%1 is a file that this document was imported from; it was not replaced. Choose another "
         "name.",
         "Error"},
        {0,
         "%1 はこのドキュメントの読み込み元のファイルなので、上書きしませんでした。別の名前を"
         "指定してください。",
         "エラー"},
    };
    for (const auto& refusal : kRefusals) {
        Open(refusal.english);
        Drop(frame_.get(), {figure});
        ASSERT_EQ(TreeItems(), QStringList{"vase"});
        dialogs_.messages.clear();
        dialogs_.suggestedPaths.clear();
        dialogs_.answers = {figure};
        Trigger(CommandId::kExportRuvoPatch);
        EXPECT_EQ(dialogs_.suggestedPaths, QStringList{folder_.filePath("figure-patches.rvp")});
        ASSERT_EQ(dialogs_.messages.size(), 1u);
        EXPECT_EQ(dialogs_.messages[0].first,
                  QString::fromUtf8(refusal.message).arg(QDir::toNativeSeparators(figure)));
        EXPECT_EQ(dialogs_.messages[0].second, QString::fromUtf8(refusal.caption));
        EXPECT_EQ(Content(figure), written);
    }

    Open(1);
    Drop(frame_.get(), {figure});
    const QString copy = folder_.filePath(QStringLiteral("copy.rvp"));
    dialogs_.answers = {copy};
    Trigger(CommandId::kExportRuvoPatch);
    EXPECT_EQ(frame_->statusTextBar()->dialog()->field()->text(),
              QStringLiteral("Wrote 1 object to ") + QDir::toNativeSeparators(copy));

    const QString line = Write(QStringLiteral("line.mqo"),
                               "Metasequoia Document\nObject \"line\" {\n\tvertex 2 {\n0 0 0\n5 0 "
                               "0\n\t}\n\tface 1 {\n2 V(0 1)\n\t}\n}\nEof\n");
    const QString mesh = folder_.filePath(QStringLiteral("line.obj"));
    const struct {
        bool withLine;
        const char* message;
    } kNothing[] = {{false, "There is nothing to write: the document is empty."},
                    {true, "There is nothing to write: no object has a patch."}};
    for (const auto& nothing : kNothing) {
        Trigger(CommandId::kFileNew);
        if (nothing.withLine) {
            dialogs_.answers = {line};
            Trigger(CommandId::kImportMetasequoia);
        }
        dialogs_.messages.clear();
        dialogs_.answers = {mesh};
        Trigger(CommandId::kExportSurfaceMesh);
        ASSERT_EQ(dialogs_.messages.size(), 1u);
        EXPECT_EQ(dialogs_.messages[0].first, QString::fromUtf8(nothing.message));
        EXPECT_FALSE(QFile::exists(mesh));
    }
}

}  // namespace
}  // namespace korvane
