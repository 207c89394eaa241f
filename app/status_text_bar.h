#pragma once

#include <QDockWidget>
#include <QString>
#include <QTimer>
#include <QWidget>

class QLineEdit;

namespace korvane {

// The status field's dialog: one read-only line (id 1001) showing the application's status text.
// While a Connect Curve run lasts a timer on this thread copies the text into the line; when the
// run ends the text becomes "Ready".
class StatusFieldDialog : public QWidget {
    Q_OBJECT

  public:
    explicit StatusFieldDialog(QWidget* parent = nullptr);

    // The bar's template size, 330 x 16 dialog units.
    QSize sizeHint() const override;
    // Copies the status text into the line and repaints it at once.
    void Refresh();
    bool statusRunning() const { return statusRunning_; }
    QLineEdit* field() const { return field_; }

  protected:
    void customEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void StartRefreshing();
    void StopRefreshing();

    QLineEdit* field_;
    QString text_;
    QTimer refresher_;
    bool statusRunning_ = false;
};

// The bar docked at the bottom of the main window (id 135), without a title, holding the status
// field's dialog.
class StatusTextBar : public QDockWidget {
    Q_OBJECT

  public:
    explicit StatusTextBar(QWidget* parent = nullptr);

    StatusFieldDialog* dialog() const { return dialog_; }

  private:
    StatusFieldDialog* dialog_;
};

}  // namespace korvane
