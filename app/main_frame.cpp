#include "app/main_frame.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/import_commands.h"
#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "resources/menu_texts.h"
#include "view/korv_view.h"

namespace korvane {
namespace {

constexpr int kDefaultWidth = 1024;
constexpr int kDefaultHeight = 768;

QAction* AddCommand(QWidget* owner, QMenu* menu, int id, const char* text) {
    auto* action = new QAction(QString::fromUtf8(text), owner);
    action->setObjectName(QString::number(id));
    if (menu != nullptr) {
        menu->addAction(action);
    } else {
        owner->addAction(action);
    }
    return action;
}

}  // namespace

CMainFrame::CMainFrame(CKorvDoc* document, UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), document_(document), dialogs_(dialogs), view_(new CKorvView(document)) {
    setWindowTitle(QString::fromLatin1(kFrameTitle));
    setCentralWidget(view_);
    BuildMenus();
    resize(kDefaultWidth, kDefaultHeight);
}

void CMainFrame::BuildMenus() {
    const MenuTexts& texts = IsEnglish() ? kEnglishMenu : kJapaneseMenu;
    QMenu* file = menuBar()->addMenu(QString::fromUtf8(texts.filePopup));
    QAction* newDocument = AddCommand(this, file, 57600, texts.newDocument);
    newDocument->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(newDocument, &QAction::triggered, this, &CMainFrame::OnFileNew);
    file->addSeparator();
    QMenu* import = file->addMenu(QString::fromUtf8(texts.importPopup));
    connect(AddCommand(this, import, 32771, texts.importMetasequoia), &QAction::triggered, this,
            &CMainFrame::OnImportMetasequoia);
    file->addSeparator();
    connect(AddCommand(this, file, 57665, texts.exitApplication), &QAction::triggered, this,
            &QWidget::close);
    // Wired but reached from no menu, toolbar or key.
    connect(AddCommand(this, nullptr, 32777, "LightWave(*.lwo)"), &QAction::triggered, this,
            &CMainFrame::OnImportLightWave);
}

void CMainFrame::OnFileNew() {
    document_->OnNewDocument();
    document_->UpdateAllViews();
}

void CMainFrame::OnImportMetasequoia() {
    RunImportMetasequoia(dialogs_, this);
}

void CMainFrame::OnImportLightWave() {
    RunImportLightWave(dialogs_, this);
}

}  // namespace korvane
