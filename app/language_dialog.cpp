#include "app/language_dialog.h"

#include <QButtonGroup>
#include <QPushButton>

#include "app/controls/dialog_fonts.h"
#include "app/controls/dialog_template.h"

namespace korvane {

LanguageDialog::LanguageDialog(QWidget* parent) : QDialog(parent), group_(new QButtonGroup(this)) {
    const DialogTemplate layout(*this, GothicDialogFont(), QStringLiteral("Select Language"), 99,
                                86, true);

    // Radio buttons drawn as push buttons: checkable, exclusive within the group.
    QPushButton* japanese =
        layout.Place(new QPushButton(QStringLiteral("Japanese"), this), 1007, 7, 7, 85, 19);
    QPushButton* english =
        layout.Place(new QPushButton(QStringLiteral("English"), this), 1008, 7, 27, 85, 19);
    for (QPushButton* button : {japanese, english}) {
        button->setCheckable(true);
        button->setAutoDefault(false);
    }
    group_->addButton(japanese, 0);
    group_->addButton(english, 1);
    group_->setExclusive(true);
    japanese->setChecked(true);

    QPushButton* ok = layout.Place(new QPushButton(QStringLiteral("OK"), this), 1, 22, 65, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void LanguageDialog::accept() {
    choice = group_->checkedId() == 1 ? Language::kEnglish : Language::kJapanese;
    QDialog::accept();
}

}  // namespace korvane
