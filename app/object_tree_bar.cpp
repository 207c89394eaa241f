#include "app/object_tree_bar.h"

#include <QSignalBlocker>
#include <QTreeWidget>

#include <cstdint>

#include "app/controls/dialog_fonts.h"
#include "app/controls/dialog_template.h"
#include "app/display_name.h"
#include "app/hidden_title_bar.h"
#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/notify_codes.h"

namespace korvane {
namespace {

constexpr int kTreeId = 1012;
constexpr int kBarId = 103;
constexpr int kBarWidthUnits = 119;
constexpr int kBarHeightUnits = 424;
constexpr int kTreeMargin = 6;

}  // namespace

ObjectTreeDialog::ObjectTreeDialog(QWidget* parent)
    : QWidget(parent), tree_(new QTreeWidget(this)) {
    tree_->setObjectName(QString::number(kTreeId));
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(false);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setFrameShape(QFrame::Box);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &ObjectTreeDialog::ShowSelection);
}

QSize ObjectTreeDialog::sizeHint() const {
    const DialogTemplate units(GothicDialogFont());
    return QSize(units.X(kBarWidthUnits), units.Y(kBarHeightUnits));
}

// Whoever changed the objects redraws the views, with the selection dropped here.
void ObjectTreeDialog::Rebuild() {
    const QSignalBlocker quiet(tree_);
    tree_->clear();
    CKorvDoc* document = GetDocument();
    if (document == nullptr) {
        return;
    }
    document->displaySettings.selectedObject = -1;
    for (const PatchObject* object : document->Objects()) {
        tree_->addTopLevelItem(new QTreeWidgetItem(QStringList{DisplayName(object->name)}));
    }
}

void ObjectTreeDialog::ShowSelection() {
    CKorvDoc* document = GetDocument();
    if (document == nullptr) {
        return;
    }
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    const std::int32_t index =
        selected.isEmpty() ? -1
                           : static_cast<std::int32_t>(tree_->indexOfTopLevelItem(selected[0]));
    if (document->displaySettings.selectedObject != index) {
        document->displaySettings.selectedObject = index;
        document->UpdateDisplay();
    }
}

void ObjectTreeDialog::customEvent(QEvent* event) {
    if (event->type() != NotifyEvent::kType) {
        return;
    }
    const NotifyCode code = static_cast<NotifyEvent*>(event)->code();
    if (code == NotifyCode::NotifyNewDocument || code == NotifyCode::NotifyImported) {
        Rebuild();
    }
}

void ObjectTreeDialog::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    tree_->setGeometry(kTreeMargin, kTreeMargin, width() - 2 * kTreeMargin,
                       height() - 2 * kTreeMargin);
}

ObjectTreeBar::ObjectTreeBar(QWidget* parent)
    : QDockWidget(parent), dialog_(new ObjectTreeDialog(this)) {
    setObjectName(QString::number(kBarId));
    HideTitleBar(*this);
    setFeatures(QDockWidget::NoDockWidgetFeatures);
    setAllowedAreas(Qt::RightDockWidgetArea);
    setWidget(dialog_);
}

}  // namespace korvane
