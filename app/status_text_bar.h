#pragma once

#include <QDockWidget>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>

class QLineEdit;
class QProgressBar;
class QPushButton;

namespace korvane {

class ConversionWorker;

// The status field's dialog: one read-only line (id 1001) showing the application's status text.
// While a Connect Curve run lasts the line shows each progress of the followed run as it arrives,
// and a bar with a Cancel button beside it shows the share of control points examined; when the
// run ends the text becomes "Ready", or the cancelled text when the run was stopped. A new document
// and an import make it "Ready" too. The view's sampling of big surfaces is shown the same way, as
// a task: its patches done in the line and the bar, and the same Cancel.
class StatusFieldDialog : public QWidget {
    Q_OBJECT

  public:
    explicit StatusFieldDialog(QWidget* parent = nullptr);

    // The bar's template size, 330 x 16 dialog units.
    QSize sizeHint() const override;
    // Copies the status text into the line and repaints it at once.
    void Refresh();
    // The run whose progress the line and the bar show and that Cancel stops.
    void Follow(ConversionWorker* worker);
    // Stops the followed run after the join under way, or the task under way; nothing while
    // neither lasts.
    void RequestCancel();
    // A task begins: the bar and Cancel show, and cancel is what Cancel calls. Not while a
    // Connect Curve run lasts.
    void BeginTask(std::function<void()> cancel);
    // The task's progress: done of total patches.
    void ShowTaskProgress(std::int64_t done, std::int64_t total);
    // The task ended: the text from before it began (what a Connect Curve run or an export said
    // stays), or the cancelled text.
    void EndTask(bool cancelled);
    bool statusRunning() const { return statusRunning_; }
    QLineEdit* field() const { return field_; }
    QProgressBar* progressBar() const { return bar_; }
    QPushButton* cancelButton() const { return cancel_; }

  protected:
    void customEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void StartRefreshing();
    void StopRefreshing();
    void RefreshWhileRunning();
    void ShowShare();
    // The line fills the dialog but for a 2-pixel margin; while a run lasts the bar and the
    // button take its right end.
    void Arrange();

    QLineEdit* field_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    QPointer<ConversionWorker> worker_;
    QString text_;
    bool statusRunning_ = false;
    std::function<void()> cancelTask_;
    std::string textBeforeTask_;
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
