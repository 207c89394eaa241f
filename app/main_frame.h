#pragma once

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <map>

#include "app/conversion_worker.h"
#include "app/recent_files.h"
#include "resources/command_ids.h"

class QAction;
class QMenu;
class QToolBar;

namespace korvane {

class CKorvDoc;
class CKorvView;
class ObjectTreeBar;
class StatusTextBar;
class UserDialogs;

// The main window: menus and accelerators in the language of this run, the toolbar, the 3D view,
// the object tree on the right and the status field at the bottom. Each command is a QAction whose
// objectName is its command id, with a rule for its enabled and checked state. While a Connect
// Curve run lasts, every command that reads or changes the document is disabled, and closing the
// window waits for the run to end.
class CMainFrame : public QMainWindow {
    Q_OBJECT

  public:
    CMainFrame(CKorvDoc* document, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CKorvView* view() const { return view_; }
    ObjectTreeBar* treeBar() const { return treeBar_; }
    StatusTextBar* statusTextBar() const { return statusBar_; }
    QToolBar* toolBar() const { return toolBar_; }
    // The action of a command id, or none.
    QAction* Command(CommandId id) const;
    bool IsConverting() const { return worker_.IsRunning(); }
    // Until a Connect Curve run has ended.
    void WaitForConversion() { worker_.Wait(); }

    // Sets every command's enabled and checked state from its rule.
    void UpdateCommands();

    // Imports a model file by its content (a file on the command line, dropped, or recent);
    // returns the file when it was read.
    QString ImportFile(const QString& path);
    // Imports the files in turn, as a drop on the window or the command line names them.
    void ImportFiles(const QStringList& paths);
    const RecentFiles& recentFiles() const { return recentFiles_; }

    void OnFileNew();
    void OnImportMetasequoia();
    void OnImportLightWave();
    void OnImport3dStudio();
    void OnImportOtherFormats();
    void OnExportRuvoPatch();
    void OnExportAnimationMaster();
    void OnExportSPatch();
    void OnExportSurfaceMesh();
    void OnExportStep();
    void OnExportIges();
    void OnConnectCurve();
    void OnSetting();
    void OnDocumentInfo();
    void OnAbout();
    void OnToggleToolbar();
    void OnToggleVertices();
    void OnToggleCurves();
    void OnToggleSurfaces();
    void OnToggleSmoothSurfaces();
    void OnRotateMode();
    void OnMoveMode();
    void OnZoomMode();
    // Aims the camera at the centre of all objects, at the distance where they fit the view.
    void OnFrameAll();
    void OnExit();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    struct CommandRule {
        std::function<bool()> enabled;
        std::function<bool()> checked;  // empty for commands that show no check state
    };

    QAction* AddCommand(CommandId id, const QString& text, void (CMainFrame::*handler)(),
                        CommandRule rule);
    void BuildCommands();
    void BuildMenus();
    void BuildToolbar();
    void BuildAccelerators();
    void BuildRecentFileCommands(QMenu& file, QAction* before);
    void UpdateRecentFileCommands();
    void OnOpenRecentFile(int index);
    void OnConversionFinished();
    // Runs an import (which returns the file it read, or nothing); remembers the file and, when
    // it filled an empty document, shows it whole.
    QString Import(const std::function<QString()>& import);
    // True when nothing unexported would be lost, or the user agrees to lose it.
    bool ConfirmDiscard();

    ObjectTreeBar* treeBar_;
    StatusTextBar* statusBar_;
    QToolBar* toolBar_;
    CKorvDoc* document_;
    UserDialogs& dialogs_;
    CKorvView* view_;
    std::map<CommandId, QAction*> commands_;
    std::map<CommandId, CommandRule> rules_;
    RecentFiles recentFiles_;
    QList<QAction*> recentFileCommands_;
    bool closeWhenConverted_ = false;
    ConversionWorker worker_;
};

}  // namespace korvane
