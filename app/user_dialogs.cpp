#include "app/user_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace korvane {

QString QtUserDialogs::AskOpenFile(QWidget* owner, const QString& filter,
                                   const QString& defaultSuffix) {
    QFileDialog dialog(owner, QString(), QString(), filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

void QtUserDialogs::ShowMessage(QWidget* owner, const QString& text, const QString& caption) {
    QMessageBox::warning(owner, caption, text, QMessageBox::Ok);
}

}  // namespace korvane
