// The main frame's commands, menus, toolbar and accelerators.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>

#include <utility>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/main_frame.h"
#include "app/toolbar_icons.h"
#include "resources/menu_texts.h"

namespace korvane {
namespace {

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

QString PromptOf(CommandId id) {
    for (const CommandPrompt& prompt : kCommandPrompts) {
        if (prompt.id == id) {
            return Utf8(prompt.text);
        }
    }
    return QString();
}

QString ToolbarName(CommandId id) {
    for (const CommandName& name : kToolbarNames) {
        if (name.id == id) {
            return Utf8(IsEnglish() ? name.english : name.japanese);
        }
    }
    return QString();
}

// The n-th recent file as the File menu lists it: its number as the mnemonic, then its name.
QString RecentFileText(int index, const QString& path) {
    QString name = QFileInfo(path).fileName();
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(name);
}

}  // namespace

QAction* CMainFrame::AddCommand(CommandId id, const QString& text, void (CMainFrame::*handler)(),
                                CommandRule rule) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::number(static_cast<int>(id)));
    action->setStatusTip(PromptOf(id));
    action->setCheckable(static_cast<bool>(rule.checked));
    // The menus show texts only; images belong to the toolbar.
    action->setIconVisibleInMenu(false);
    addAction(action);
    connect(action, &QAction::triggered, this, [this, handler] {
        (this->*handler)();
        UpdateCommands();
    });
    commands_[id] = action;
    rules_[id] = std::move(rule);
    return action;
}

void CMainFrame::BuildCommands() {
    const MenuTexts& texts = IsEnglish() ? kEnglishMenu : kJapaneseMenu;
    // Commands that read or change the document wait while a conversion owns the objects.
    const auto idle = [this] { return !worker_.IsRunning(); };
    const auto always = [] { return true; };
    const DisplaySettings& shown = document_->displaySettings;
    const auto modeIs = [](NavigationMode mode) {
        return [mode] { return GetApp()->navigationMode == mode; };
    };

    AddCommand(CommandId::kFileNew, Utf8(texts.newDocument), &CMainFrame::OnFileNew, {idle, {}});
    AddCommand(CommandId::kImportMetasequoia, Utf8(texts.importMetasequoia),
               &CMainFrame::OnImportMetasequoia, {idle, {}});
    AddCommand(CommandId::kExportRuvoPatch, Utf8(texts.exportRuvoPatch),
               &CMainFrame::OnExportRuvoPatch, {idle, {}});
    AddCommand(CommandId::kExportAnimationMaster, Utf8(texts.exportAnimationMaster),
               &CMainFrame::OnExportAnimationMaster, {idle, {}});
    AddCommand(CommandId::kExportSPatch, Utf8(texts.exportSPatch), &CMainFrame::OnExportSPatch,
               {idle, {}});
    AddCommand(CommandId::kExit, Utf8(texts.exitApplication), &CMainFrame::OnExit, {always, {}});
    AddCommand(CommandId::kConnectCurve, Utf8(texts.connectCurve), &CMainFrame::OnConnectCurve,
               {idle, {}});
    AddCommand(CommandId::kToggleToolbar, Utf8(texts.toolbar), &CMainFrame::OnToggleToolbar,
               {always, [this] { return !toolBar_->isHidden(); }});
    AddCommand(CommandId::kSetting, Utf8(texts.setting), &CMainFrame::OnSetting, {idle, {}});
    AddCommand(CommandId::kSettingButton, PromptOf(CommandId::kSettingButton),
               &CMainFrame::OnSetting, {idle, {}});
    AddCommand(CommandId::kDocumentInfo, Utf8(texts.document), &CMainFrame::OnDocumentInfo,
               {idle, {}});
    AddCommand(CommandId::kShowVertices, Utf8(texts.showPoints), &CMainFrame::OnToggleVertices,
               {idle, [&shown] { return shown.showVertices; }});
    AddCommand(CommandId::kShowCurves, Utf8(texts.showCurves), &CMainFrame::OnToggleCurves,
               {idle, [&shown] { return shown.showCurves; }});
    AddCommand(CommandId::kShowSurfaces, Utf8(texts.showSurfaces), &CMainFrame::OnToggleSurfaces,
               {idle, [&shown] { return shown.showSurfaces; }});
    AddCommand(CommandId::kSmoothSurfaces, Utf8(texts.smoothSurfaces),
               &CMainFrame::OnToggleSmoothSurfaces,
               {idle, [&shown] { return shown.smoothSurfaces; }});
    AddCommand(CommandId::kFrameAll, Utf8(texts.frameAll), &CMainFrame::OnFrameAll, {idle, {}});
    AddCommand(CommandId::kRotateMode, QStringLiteral("rotate"), &CMainFrame::OnRotateMode,
               {always, modeIs(NavigationMode::kRotate)});
    AddCommand(CommandId::kMoveMode, QStringLiteral("move"), &CMainFrame::OnMoveMode,
               {always, modeIs(NavigationMode::kMove)});
    AddCommand(CommandId::kZoomMode, QStringLiteral("zoom"), &CMainFrame::OnZoomMode,
               {always, modeIs(NavigationMode::kZoom)});
    AddCommand(CommandId::kAbout, Utf8(texts.versionInformation), &CMainFrame::OnAbout,
               {always, {}});
    AddCommand(CommandId::kImportLightWave, Utf8(texts.importLightWave),
               &CMainFrame::OnImportLightWave, {idle, {}});
    AddCommand(CommandId::kImport3dStudio, Utf8(texts.import3dStudio),
               &CMainFrame::OnImport3dStudio, {idle, {}});
    AddCommand(CommandId::kImportOtherFormats, Utf8(texts.importOtherFormats),
               &CMainFrame::OnImportOtherFormats, {idle, {}});
    AddCommand(CommandId::kExportSurfaceMesh, Utf8(texts.exportSurfaceMesh),
               &CMainFrame::OnExportSurfaceMesh, {idle, {}});
    AddCommand(CommandId::kExportStep, Utf8(texts.exportStep), &CMainFrame::OnExportStep,
               {idle, {}});
    AddCommand(CommandId::kExportIges, Utf8(texts.exportIges), &CMainFrame::OnExportIges,
               {idle, {}});
}

void CMainFrame::BuildMenus() {
    const MenuTexts& texts = IsEnglish() ? kEnglishMenu : kJapaneseMenu;
    QMenu* file = menuBar()->addMenu(Utf8(texts.filePopup));
    file->addAction(Command(CommandId::kFileNew));
    file->addSeparator();
    QMenu* import = file->addMenu(Utf8(texts.importPopup));
    import->addAction(Command(CommandId::kImportMetasequoia));
    import->addAction(Command(CommandId::kImportLightWave));
    import->addAction(Command(CommandId::kImport3dStudio));
    import->addAction(Command(CommandId::kImportOtherFormats));
    QMenu* exports = file->addMenu(Utf8(texts.exportPopup));
    exports->addAction(Command(CommandId::kExportRuvoPatch));
    exports->addAction(Command(CommandId::kExportAnimationMaster));
    exports->addAction(Command(CommandId::kExportSPatch));
    exports->addAction(Command(CommandId::kExportSurfaceMesh));
    exports->addAction(Command(CommandId::kExportStep));
    exports->addAction(Command(CommandId::kExportIges));
    QAction* beforeExit = file->addSeparator();
    file->addAction(Command(CommandId::kExit));
    BuildRecentFileCommands(*file, beforeExit);

    menuBar()->addMenu(Utf8(texts.editPopup))->addAction(Command(CommandId::kConnectCurve));

    QMenu* view = menuBar()->addMenu(Utf8(texts.viewPopup));
    view->addAction(Command(CommandId::kToggleToolbar));
    view->addSeparator();
    view->addAction(Command(CommandId::kShowVertices));
    view->addAction(Command(CommandId::kShowCurves));
    view->addAction(Command(CommandId::kShowSurfaces));
    view->addAction(Command(CommandId::kSmoothSurfaces));
    view->addSeparator();
    view->addAction(Command(CommandId::kFrameAll));
    view->addSeparator();
    view->addAction(Command(CommandId::kSetting));
    view->addAction(Command(CommandId::kDocumentInfo));

    menuBar()->addMenu(Utf8(texts.helpPopup))->addAction(Command(CommandId::kAbout));

    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) {
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
    }
}

void CMainFrame::BuildToolbar() {
    toolBar_->setObjectName(QStringLiteral("59392"));
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setMovable(true);
    toolBar_->setFloatable(true);
    addToolBar(Qt::TopToolBarArea, toolBar_);
    const std::pair<CommandId, ToolbarImage> groups[][4] = {
        {{CommandId::kFileNew, ToolbarImage::kNew}},
        {{CommandId::kImportMetasequoia, ToolbarImage::kImport}},
        {{CommandId::kExportRuvoPatch, ToolbarImage::kExport}},
        {{CommandId::kConnectCurve, ToolbarImage::kConnect}},
        {{CommandId::kShowVertices, ToolbarImage::kVertices},
         {CommandId::kShowCurves, ToolbarImage::kCurves},
         {CommandId::kShowSurfaces, ToolbarImage::kSurfaces},
         {CommandId::kSettingButton, ToolbarImage::kSetting}},
        {{CommandId::kRotateMode, ToolbarImage::kRotate},
         {CommandId::kMoveMode, ToolbarImage::kMove},
         {CommandId::kZoomMode, ToolbarImage::kZoom},
         {CommandId::kFrameAll, ToolbarImage::kFrameAll}},
        {{CommandId::kAbout, ToolbarImage::kAbout}}};
    bool first = true;
    for (const auto& group : groups) {
        if (!first) {
            toolBar_->addSeparator();
        }
        first = false;
        for (const auto& [id, image] : group) {
            if (id == CommandId{}) {  // the group's unused slots
                break;
            }
            QAction* action = Command(id);
            action->setIcon(ToolbarIcon(image));
            action->setToolTip(ToolbarName(id));
            toolBar_->addAction(action);
        }
    }
}

void CMainFrame::BuildAccelerators() {
    // Of the accelerator table only Ctrl+N reaches an operation here. Ctrl+O and Ctrl+S would
    // reach a document open and save that carry no content, so they are left unbound, like the
    // editing keys that reach no handler at all.
    auto* newDocument = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_N), this);
    connect(newDocument, &QShortcut::activated, Command(CommandId::kFileNew), &QAction::trigger);
    for (const Qt::Key key : {Qt::Key_Home, Qt::Key_F}) {
        auto* frameAll = new QShortcut(QKeySequence(key), this);
        connect(frameAll, &QShortcut::activated, Command(CommandId::kFrameAll), &QAction::trigger);
    }
}

// Four commands kept ready between the Export menu and Exit, set apart by a separator, shown as
// files are remembered.
void CMainFrame::BuildRecentFileCommands(QMenu& file, QAction* before) {
    for (int i = 0; i < RecentFiles::kMaxFiles; ++i) {
        auto* action = new QAction(this);
        connect(action, &QAction::triggered, this, [this, i] {
            OnOpenRecentFile(i);
            UpdateCommands();
        });
        file.insertAction(before, action);
        recentFileCommands_.append(action);
    }
    recentFileCommands_.append(file.insertSeparator(recentFileCommands_.first()));
    UpdateRecentFileCommands();
}

void CMainFrame::UpdateRecentFileCommands() {
    const QStringList& paths = recentFiles_.paths();
    for (int i = 0; i < RecentFiles::kMaxFiles; ++i) {
        QAction* action = recentFileCommands_[i];
        action->setVisible(i < paths.size());
        if (i < paths.size()) {
            action->setText(RecentFileText(i, paths[i]));
            action->setStatusTip(QDir::toNativeSeparators(paths[i]));
        }
    }
    recentFileCommands_.last()->setVisible(!paths.isEmpty());
}

}  // namespace korvane
