#include "app/dialogs/document_info_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <vector>

#include "app/controls/dialog_fonts.h"
#include "app/controls/dialog_template.h"

namespace korvane {
namespace {

// The labels' boxes are narrower than their texts in either language. The column keeps one left
// edge, which moves left as far as the widest text needs to end a gap before the fields, but not
// past the dialog's margin.
void FitLabelColumn(const std::vector<QLabel*>& labels, const DialogTemplate& layout) {
    int widest = 0;
    for (const QLabel* label : labels) {
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(label->text()) + 1);
    }
    const int end = layout.X(70) - layout.X(4);
    const int left = std::clamp(end - widest, layout.X(7), layout.X(25));
    for (QLabel* label : labels) {
        label->setGeometry(left, label->y(), std::max(widest, label->width()), label->height());
    }
}

}  // namespace

DocumentInfoDialog::DocumentInfoDialog(const DocumentCounts& counts, bool english, QWidget* parent)
    : QDialog(parent) {
    const auto text = [english](const char* englishText, const char* japaneseText) {
        return QString::fromUtf8(english ? englishText : japaneseText);
    };
    const DialogTemplate layout(*this, SansSerifDialogFont(), text("Document", "ドキュメント"), 187,
                                119, false);
    auto* close = layout.Place(new QPushButton(QStringLiteral("Close"), this), 1, 130, 100, 50, 14);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    std::vector<QLabel*> labels;
    const auto addRow = [&](int labelId, const QString& text, int fieldId, int top, int labelWidth,
                            std::int64_t count) {
        auto* label = layout.Place(new QLabel(text, this), labelId, 25, top + 5, labelWidth, 8);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        labels.push_back(label);
        auto* field =
            layout.Place(new QLineEdit(QString::number(count), this), fieldId, 70, top, 55, 12);
        field->setReadOnly(true);
    };
    addRow(1000, text("Object", "オブジェクト数"), 1001, 15, 37,
           static_cast<std::int64_t>(counts.objects.size()));
    addRow(1002, text("3point Patch", "３点パッチ数"), 1003, 40, 34, counts.totals.triPatches);
    addRow(1009, text("4point Patch", "４点パッチ数"), 1010, 65, 33, counts.totals.quadPatches);
    FitLabelColumn(labels, layout);
}

}  // namespace korvane
