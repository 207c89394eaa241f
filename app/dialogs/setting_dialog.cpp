#include "app/dialogs/setting_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "app/controls/dialog_fonts.h"
#include "app/controls/dialog_template.h"
#include "app/controls/number_edit.h"

namespace korvane {

SettingDialog::SettingDialog(const SettingValues& values, bool english, QWidget* parent)
    : QDialog(parent), values_(values) {
    const auto text = [english](const char* englishText, const char* japaneseText) {
        return QString::fromUtf8(english ? englishText : japaneseText);
    };
    const DialogTemplate layout(*this, SansSerifDialogFont(), QStringLiteral("Setting"), 203, 106,
                                true);
    auto* ok = layout.Place(new QPushButton(QStringLiteral("OK"), this), 1, 89, 85, 50, 14);
    ok->setDefault(true);
    auto* cancel =
        layout.Place(new QPushButton(QStringLiteral("Cancel"), this), 2, 146, 85, 50, 14);
    auto* label = layout.Place(new QLabel(text("Resolution", "解像度"), this), 1000, 49, 21, 40, 8);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    resolution_ = layout.Place(new NumberEdit(this), 1001, 95, 18, 40, 12);
    layout.Place(new QGroupBox(text("Visibility", "表示"), this), 1002, 7, 44, 189, 34);
    vertices_ = layout.Place(new QCheckBox(text("Vertex", "頂点"), this), 1004, 19, 57, 44, 10);
    curves_ = layout.Place(new QCheckBox(text("Curve", "カーブ"), this), 1005, 71, 57, 44, 10);
    surfaces_ = layout.Place(new QCheckBox(text("Surface", "面"), this), 1006, 123, 57, 44, 10);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    vertices_->setChecked(values_.showVertices);
    curves_->setChecked(values_.showCurves);
    surfaces_->setChecked(values_.showSurfaces);
    resolution_->AttachSpin();
    resolution_->SetIntRange(1, 10);
    resolution_->SetIntValue(values_.resolution);
    // A preset outside 1 to 10 is shown corrected; OK hands back what is shown.
    values_.resolution = resolution_->IntValue();
    connect(resolution_, &NumberEdit::changeReported, this,
            [this](int, int) { values_.resolution = resolution_->IntValue(); });
}

void SettingDialog::accept() {
    values_.showVertices = vertices_->isChecked();
    values_.showCurves = curves_->isChecked();
    values_.showSurfaces = surfaces_->isChecked();
    QDialog::accept();
}

void SettingDialog::done(int result) {
    // Enter closes the dialog while the field still has the focus: commit what it shows.
    resolution_->Commit();
    QDialog::done(result);
}

}  // namespace korvane
