#include "app/dialogs/connect_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "app/controls/dialog_fonts.h"
#include "app/controls/dialog_template.h"
#include "app/controls/number_edit.h"

namespace korvane {

ConnectDialog::ConnectDialog(bool english, float initialAngle, QWidget* parent)
    : QDialog(parent), limitAngle_(initialAngle) {
    const auto text = [english](const char* englishText, const char* japaneseText) {
        return QString::fromUtf8(english ? englishText : japaneseText);
    };
    const DialogTemplate layout(*this, SansSerifDialogFont(), QStringLiteral("Connect"), 187, 71,
                                false);
    auto* ok = layout.Place(new QPushButton(QStringLiteral("OK"), this), 1, 130, 7, 50, 14);
    ok->setDefault(true);
    auto* cancel =
        layout.Place(new QPushButton(QStringLiteral("Cancel"), this), 2, 130, 24, 50, 14);
    auto* label = layout.Place(
        new QLabel(english ? QStringLiteral("Limit Angle") : QStringLiteral("制限角度"), this),
        1000, 7, 21, 46, 8);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    angle_ = layout.Place(new NumberEdit(this), 1001, 63, 17, 40, 12);
    // Right of the spin button, which the field places beside itself.
    layout.Place(new QLabel(text("°", "度"), this), 1002, 117, 19, 10, 8);
    // Which way the number works: the angle between two curves that continue each other
    // straight on is 180, and a smaller limit lets bent continuations join as well.
    auto* meaning = layout.Place(
        new QLabel(text("In degrees, 0 to 180: curves that continue each other at a wider angle "
                        "are joined (180 is straight on).",
                        "単位は度(0～180)。これより広い角度で続くカーブ同士を接続します"
                        "(180 度が一直線)。"),
                   this),
        1003, 7, 40, 173, 25);
    meaning->setWordWrap(true);
    meaning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    angle_->AttachSpin();
    angle_->SetFloatMode(true);
    angle_->SetFloatRange(0.0f, 180.0f);
    angle_->SetStep(1.0f);
    angle_->SetFloatValue(limitAngle_);
    connect(angle_, &NumberEdit::changeReported, this,
            [this](int, int) { limitAngle_ = angle_->FloatValue(); });
}

void ConnectDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    angle_->setFocus(Qt::OtherFocusReason);
    angle_->selectAll();
}

void ConnectDialog::done(int result) {
    // Enter closes the dialog while the field still has the focus: commit what it shows.
    angle_->Commit();
    QDialog::done(result);
}

}  // namespace korvane
