#include "app/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QToolBar>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/object_tree_bar.h"
#include "app/status_text_bar.h"
#include "resources/menu_texts.h"
#include "view/korv_view.h"

namespace korvane {
namespace {

constexpr int kDefaultWidth = 1024;
constexpr int kDefaultHeight = 768;

}  // namespace

CMainFrame::CMainFrame(CKorvDoc* document, UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      treeBar_(new ObjectTreeBar(this)),
      statusBar_(new StatusTextBar(this)),
      toolBar_(new QToolBar(this)),
      document_(document),
      dialogs_(dialogs),
      view_(new CKorvView(document)) {
    setWindowTitle(QString::fromLatin1(kFrameTitle));
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

    connect(document_, &CKorvDoc::changed, this, &CMainFrame::UpdateCommands);
    connect(toolBar_, &QToolBar::visibilityChanged, this, &CMainFrame::UpdateCommands);
    UpdateCommands();
    resize(kDefaultWidth, kDefaultHeight);
}

// The worker member waits for a run that is still going before the view and the bars go.
CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::Command(int id) const {
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
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The worker owns the objects until it ends: the window closes once the run is over.
    if (worker_.IsRunning()) {
        closeWhenConverted_ = true;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void CMainFrame::OnConversionFinished() {
    UpdateCommands();
    if (closeWhenConverted_) {
        closeWhenConverted_ = false;
        close();
    }
}

}  // namespace korvane
