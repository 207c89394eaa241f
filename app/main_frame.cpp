#include "app/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QShortcut>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QUrl>

#include "app/display_name.h"
#include "app/import_commands.h"
#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/korv_view.h"
#include "app/object_tree_bar.h"
#include "app/side_settings.h"
#include "app/status_text_bar.h"
#include "app/user_dialogs.h"
#include "korvane_version.h"
#include "resources/menu_texts.h"

namespace korvane {
namespace {

constexpr int kDefaultWidth = 1024;
constexpr int kDefaultHeight = 768;

// Beside the settings file, so that tests and installations keep theirs apart alike.
QString RecentFilesPath() {
    return SideFilePath(GetApp()->settingsPath, QStringLiteral("k_r_v.recent"));
}

QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    if (data != nullptr) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) {
                files << url.toLocalFile();
            }
        }
    }
    return files;
}

}  // namespace

CMainFrame::CMainFrame(CKorvDoc* document, UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      treeBar_(new ObjectTreeBar(this)),
      statusBar_(new StatusTextBar(this)),
      toolBar_(new QToolBar(this)),
      document_(document),
      dialogs_(dialogs),
      view_(new CKorvView(document)),
      recentFiles_(RecentFilesPath()) {
    setWindowTitle(QString::fromLatin1(kProductAndVersion));
    setCentralWidget(view_);
    BuildCommands();
    BuildMenus();
    BuildToolbar();
    BuildAccelerators();

    // The status field takes the whole width below the view and the object tree.
    setCorner(Qt::BottomLeftCorner, Qt::BottomDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::BottomDockWidgetArea);
    addDockWidget(Qt::BottomDockWidgetArea, statusBar_);
    addDockWidget(Qt::RightDockWidgetArea, treeBar_);

    CKorvApp* app = GetApp();
    app->RegisterNotifyTarget(statusBar_->dialog());
    app->RegisterNotifyTarget(treeBar_->dialog());
    app->RegisterNotifyTarget(treeBar_);
    app->RegisterNotifyTarget(statusBar_);
    // Escape stops a Connect Curve run as the Cancel button beside its progress bar does.
    statusBar_->dialog()->Follow(&worker_);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated,
            statusBar_->dialog(), &StatusFieldDialog::RequestCancel);

    // The view's sampling of big surfaces shows its progress and stops as a Connect Curve run.
    SurfaceBuilder* builder = &view_->Builder();
    StatusFieldDialog* status = statusBar_->dialog();
    connect(builder, &SurfaceBuilder::Started, status,
            [builder, status] { status->BeginTask([builder] { builder->Cancel(); }); });
    connect(builder, &SurfaceBuilder::Progressed, status,
            [builder, status] { status->ShowTaskProgress(builder->Done(), builder->Total()); });
    connect(builder, &SurfaceBuilder::Finished, status, &StatusFieldDialog::EndTask);
    connect(builder, &SurfaceBuilder::Stopped, status, [status] { status->EndTask(false); });

    connect(document_, &CKorvDoc::changed, this, &CMainFrame::UpdateCommands);
    connect(document_, &CKorvDoc::displayChanged, this, &CMainFrame::UpdateCommands);
    connect(toolBar_, &QToolBar::visibilityChanged, this, &CMainFrame::UpdateCommands);
    setAcceptDrops(true);
    UpdateCommands();
    resize(kDefaultWidth, kDefaultHeight);
}

// The worker member waits for a run that is still going before the view and the bars go.
CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::Command(CommandId id) const {
    const auto found = commands_.find(id);
    return found != commands_.end() ? found->second : nullptr;
}

void CMainFrame::UpdateCommands() {
    for (const auto& [id, rule] : rules_) {
        QAction* action = commands_.at(id);
        action->setEnabled(rule.enabled());
        if (rule.checked) {
            action->setChecked(rule.checked());
        }
    }
    // A recent file is an import: it waits for a conversion like the import commands.
    for (QAction* recent : recentFileCommands_) {
        recent->setEnabled(!worker_.IsRunning());
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The worker owns the objects until it ends: the window closes once the run is over.
    if (worker_.IsRunning()) {
        closeWhenConverted_ = true;
        event->ignore();
        return;
    }
    if (!ConfirmDiscard()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool CMainFrame::ConfirmDiscard() {
    return !document_->modified || dialogs_.AskDiscardChanges(this);
}

// The prompt of the command under the pointer stands in the status field while the pointer is
// there; then the field shows the status text again.
bool CMainFrame::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        statusBar_->dialog()->field()->setText(tip.isEmpty() ? DisplayName(GetApp()->StatusText())
                                                             : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!worker_.IsRunning() && !LocalFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QStringList files = LocalFiles(event->mimeData());
    if (worker_.IsRunning() || files.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    ImportFiles(files);
}

QString CMainFrame::ImportFile(const QString& path) {
    return Import([&] { return RunImportFile(path, dialogs_, this); });
}

// Each file as if chosen in its import dialog.
void CMainFrame::ImportFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        ImportFile(path);
    }
    UpdateCommands();
}

QString CMainFrame::Import(const std::function<QString()>& import) {
    const bool documentWasEmpty = document_->Objects().IsEmpty();
    const QString imported = import();
    if (imported.isEmpty()) {
        return imported;
    }
    recentFiles_.Add(QFileInfo(imported).absoluteFilePath());
    UpdateRecentFileCommands();
    if (documentWasEmpty && !document_->Objects().IsEmpty()) {
        OnFrameAll();
    }
    return imported;
}

void CMainFrame::OnConversionFinished() {
    document_->modified = true;  // connected curves are work that exists nowhere else yet
    UpdateCommands();
    if (closeWhenConverted_) {
        closeWhenConverted_ = false;
        close();
    }
}

}  // namespace korvane
