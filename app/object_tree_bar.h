#pragma once

#include <QDockWidget>
#include <QWidget>

class QTreeWidget;

namespace korvane {

// The object tree's dialog: a tree (id 1012) listing the names of the document's objects, one
// top-level item each, in document order. It is rebuilt, with nothing selected, on
// NotifyCode::NotifyNewDocument and NotifyCode::NotifyImported. Selecting an item has the views
// draw that object's points and curves in the highlight colour.
class ObjectTreeDialog : public QWidget {
    Q_OBJECT

  public:
    explicit ObjectTreeDialog(QWidget* parent = nullptr);

    // The bar's template size, 119 x 424 dialog units.
    QSize sizeHint() const override;
    void Rebuild();
    QTreeWidget* tree() const { return tree_; }

  protected:
    void customEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ShowSelection();

    QTreeWidget* tree_;
};

// The bar docked on the right of the main window (id 103), without a title, holding the object
// tree's dialog.
class ObjectTreeBar : public QDockWidget {
    Q_OBJECT

  public:
    explicit ObjectTreeBar(QWidget* parent = nullptr);

    ObjectTreeDialog* dialog() const { return dialog_; }

  private:
    ObjectTreeDialog* dialog_;
};

}  // namespace korvane
