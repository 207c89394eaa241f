#include "app/language_dialog.h"

#include <QButtonGroup>
#include <QPushButton>

#include "app/dialog_units.h"

namespace korvane {
namespace {

QPushButton* AddButton(QWidget* parent, const char* id, const QString& text, const QRect& place) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(id));
    button->setGeometry(place);
    return button;
}

}  // namespace

LanguageDialog::LanguageDialog(QWidget* parent) : QDialog(parent), group_(new QButtonGroup(this)) {
    setWindowTitle(QStringLiteral("Select Language"));
    setFont(DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.X(99), units.Y(86));

    // Radio buttons drawn as push buttons: checkable, exclusive within the group.
    QPushButton* japanese =
        AddButton(this, "1007", QStringLiteral("Japanese"), units.Rect(7, 7, 85, 19));
    QPushButton* english =
        AddButton(this, "1008", QStringLiteral("English"), units.Rect(7, 27, 85, 19));
    for (QPushButton* button : {japanese, english}) {
        button->setCheckable(true);
        button->setAutoDefault(false);
    }
    group_->addButton(japanese, 0);
    group_->addButton(english, 1);
    group_->setExclusive(true);
    japanese->setChecked(true);

    QPushButton* ok = AddButton(this, "1", QStringLiteral("OK"), units.Rect(22, 65, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void LanguageDialog::accept() {
    choice = group_->checkedId() == 1 ? 1 : 0;
    QDialog::accept();
}

}  // namespace korvane
