#include "app/status_text_bar.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <utility>

#include "app/controls/dialog_fonts.h"
#include "app/controls/dialog_template.h"
#include "app/conversion_worker.h"
#include "app/display_name.h"
#include "app/hidden_title_bar.h"
#include "app/korv_app.h"
#include "app/notify_codes.h"
#include "resources/message_texts.h"

namespace korvane {
namespace {

constexpr int kFieldId = 1001;
constexpr int kBarId = 135;
constexpr int kBarWidthUnits = 330;
constexpr int kBarHeightUnits = 16;
constexpr int kProgressWidthUnits = 80;
constexpr int kMargin = 2;
constexpr int kShareSteps = 1000;

}  // namespace

StatusFieldDialog::StatusFieldDialog(QWidget* parent)
    : QWidget(parent),
      field_(new QLineEdit(this)),
      bar_(new QProgressBar(this)),
      cancel_(new QPushButton(QString::fromUtf8(CancelConversionLabel(IsEnglish())), this)) {
    field_->setObjectName(QString::number(kFieldId));
    field_->setReadOnly(true);
    field_->setFocusPolicy(Qt::NoFocus);
    bar_->setRange(0, kShareSteps);
    bar_->hide();
    cancel_->setFocusPolicy(Qt::NoFocus);
    cancel_->hide();
    connect(cancel_, &QPushButton::clicked, this, &StatusFieldDialog::RequestCancel);
}

QSize StatusFieldDialog::sizeHint() const {
    const DialogTemplate units(GothicDialogFont());
    return QSize(units.X(kBarWidthUnits), units.Y(kBarHeightUnits));
}

void StatusFieldDialog::Refresh() {
    text_ = DisplayName(GetApp()->StatusText());
    field_->setText(text_);
    field_->repaint();
}

void StatusFieldDialog::Follow(ConversionWorker* worker) {
    if (worker_) {
        disconnect(worker_, nullptr, this, nullptr);
    }
    worker_ = worker;
    if (worker_) {
        connect(worker_, &ConversionWorker::ProgressShown, this,
                &StatusFieldDialog::RefreshWhileRunning);
    }
}

void StatusFieldDialog::RequestCancel() {
    if (statusRunning_ && worker_ && worker_->IsRunning()) {
        worker_->Cancel();
        cancel_->setEnabled(false);
    } else if (statusRunning_ && cancelTask_) {
        cancelTask_();
        cancel_->setEnabled(false);
    }
}

void StatusFieldDialog::BeginTask(std::function<void()> cancel) {
    if (!cancelTask_) {
        textBeforeTask_ = GetApp()->StatusText();
    }
    cancelTask_ = std::move(cancel);
    bar_->setValue(0);
    cancel_->setEnabled(true);
    statusRunning_ = true;
    Arrange();
}

void StatusFieldDialog::ShowTaskProgress(std::int64_t done, std::int64_t total) {
    if (!statusRunning_ || !cancelTask_) {
        return;
    }
    GetApp()->SetStatusText(
        QString::fromUtf8(SurfacesProgressStatus(IsEnglish())).arg(done).arg(total).toStdString());
    Refresh();
    bar_->setValue(total > 0 ? static_cast<int>(done * kShareSteps / total) : kShareSteps);
}

void StatusFieldDialog::EndTask(bool cancelled) {
    if (!cancelTask_) {
        return;
    }
    cancelTask_ = nullptr;
    statusRunning_ = false;
    Arrange();
    GetApp()->SetStatusText(cancelled ? ConversionCancelledStatus(IsEnglish()) : textBeforeTask_);
    Refresh();
}

void StatusFieldDialog::StartRefreshing() {
    cancelTask_ = nullptr;
    GetApp()->SetStatusText("Start");
    Refresh();
    bar_->setValue(0);
    cancel_->setEnabled(true);
    statusRunning_ = true;
    Arrange();
}

// A progress whose text is the one shown already repaints nothing.
void StatusFieldDialog::RefreshWhileRunning() {
    if (!statusRunning_) {
        return;
    }
    // A patch search that a stopped join leaves to do can be stopped in its turn.
    if (worker_) {
        cancel_->setEnabled(worker_->Cancellable());
    }
    if (DisplayName(GetApp()->StatusText()) != text_) {
        Refresh();
    }
    ShowShare();
}

void StatusFieldDialog::ShowShare() {
    if (!worker_) {
        return;
    }
    // A run over no control points has nothing left to do.
    const ConversionWorker::Share share = worker_->Progress();
    bar_->setValue(share.total > 0 ? static_cast<int>(share.done * kShareSteps / share.total)
                                   : kShareSteps);
}

void StatusFieldDialog::StopRefreshing() {
    statusRunning_ = false;
    Refresh();
    ShowShare();
    Arrange();
    const bool cancelled = worker_ && worker_->WasCancelled();
    GetApp()->SetStatusText(cancelled ? ConversionCancelledStatus(IsEnglish()) : "Ready");
    Refresh();
}

void StatusFieldDialog::customEvent(QEvent* event) {
    if (event->type() != NotifyEvent::kType) {
        return;
    }
    switch (static_cast<NotifyEvent*>(event)->code()) {
        case NotifyCode::NotifyNewDocument:
        case NotifyCode::NotifyImported:
            // What an export wrote is stale once the document is new or has more in it.
            GetApp()->SetStatusText("Ready");
            Refresh();
            break;
        case NotifyCode::NotifyStatusChanged:
            Refresh();
            break;
        case NotifyCode::NotifyConversionStarted:
            StartRefreshing();
            break;
        case NotifyCode::NotifyConversionFinished:
            StopRefreshing();
            break;
        default:
            break;
    }
}

void StatusFieldDialog::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
}

void StatusFieldDialog::Arrange() {
    const int height = this->height() - 2 * kMargin;
    int right = width() - kMargin;
    bar_->setVisible(statusRunning_);
    cancel_->setVisible(statusRunning_);
    if (statusRunning_) {
        const int buttonWidth = cancel_->sizeHint().width();
        cancel_->setGeometry(right - buttonWidth, kMargin, buttonWidth, height);
        const int barWidth = DialogTemplate(GothicDialogFont()).X(kProgressWidthUnits);
        right -= buttonWidth + kMargin;
        bar_->setGeometry(right - barWidth, kMargin, barWidth, height);
        right -= barWidth + kMargin;
    }
    field_->setGeometry(kMargin, kMargin, right - kMargin, height);
}

StatusTextBar::StatusTextBar(QWidget* parent)
    : QDockWidget(parent), dialog_(new StatusFieldDialog(this)) {
    setObjectName(QString::number(kBarId));
    HideTitleBar(*this);
    setFeatures(QDockWidget::NoDockWidgetFeatures);
    setAllowedAreas(Qt::BottomDockWidgetArea);
    setWidget(dialog_);
}

}  // namespace korvane
