#include "app/status_text_bar.h"

#include <QLineEdit>

#include "app/controls/dialog_fonts.h"
#include "app/controls/dialog_template.h"
#include "app/display_name.h"
#include "app/hidden_title_bar.h"
#include "app/korv_app.h"
#include "app/notify_codes.h"

namespace korvane {
namespace {

constexpr int kFieldId = 1001;
constexpr int kBarId = 135;
constexpr int kBarWidthUnits = 330;
constexpr int kBarHeightUnits = 16;
constexpr int kMargin = 2;
// Fast enough that every object's progress shows, slow enough to leave the thread to the user.
constexpr int kRefreshMilliseconds = 40;

}  // namespace

StatusFieldDialog::StatusFieldDialog(QWidget* parent)
    : QWidget(parent), field_(new QLineEdit(this)) {
    field_->setObjectName(QString::number(kFieldId));
    field_->setReadOnly(true);
    field_->setFocusPolicy(Qt::NoFocus);
    refresher_.setInterval(kRefreshMilliseconds);
    connect(&refresher_, &QTimer::timeout, this, &StatusFieldDialog::Refresh);
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

void StatusFieldDialog::StartRefreshing() {
    GetApp()->SetStatusText("Start");
    Refresh();
    statusRunning_ = true;
    refresher_.start();
}

void StatusFieldDialog::StopRefreshing() {
    statusRunning_ = false;
    refresher_.stop();
    Refresh();
    GetApp()->SetStatusText("Ready");
    Refresh();
}

void StatusFieldDialog::customEvent(QEvent* event) {
    if (event->type() != NotifyEvent::kType) {
        return;
    }
    switch (static_cast<NotifyEvent*>(event)->code()) {
        case NotifyNewDocument:
        case NotifyStatusChanged:
            Refresh();
            break;
        case NotifyConversionStarted:
            StartRefreshing();
            break;
        case NotifyConversionFinished:
            StopRefreshing();
            break;
        default:
            break;
    }
}

void StatusFieldDialog::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    field_->setGeometry(kMargin, kMargin, width() - 2 * kMargin, height() - 2 * kMargin);
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
