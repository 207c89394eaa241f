#include "app/user_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

#include "app/dialogs/about_dialog.h"
#include "app/dialogs/connect_dialog.h"
#include "app/dialogs/document_info_dialog.h"
#include "app/dialogs/setting_dialog.h"
#include "app/korv_app.h"
#include "app/side_settings.h"
#include "resources/message_texts.h"

namespace korvane {
namespace {

// The suggested name in the folder used last; the suggestion as it is before any.
QString StartPath(const QString& lastFolder, const QString& suggestedPath) {
    if (lastFolder.isEmpty()) {
        return suggestedPath;
    }
    if (suggestedPath.isEmpty()) {
        return lastFolder;
    }
    return QDir(lastFolder).filePath(QFileInfo(suggestedPath).fileName());
}

}  // namespace

QString QtUserDialogs::AskFile(QWidget* owner, const QString& filter, const QString& defaultSuffix,
                               bool save, const QString& suggestedPath) {
    const QString settingsPath = GetApp()->settingsPath;
    if (!lastFolder_) {
        lastFolder_ = ReadLastFolder(settingsPath);
    }
    QFileDialog dialog(owner, QString(), StartPath(*lastFolder_, suggestedPath), filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    lastFolder_ = QFileInfo(chosen).absolutePath();
    WriteLastFolder(settingsPath, *lastFolder_);
    return chosen;
}

QString QtUserDialogs::AskOpenFile(QWidget* owner, const QString& filter,
                                   const QString& defaultSuffix) {
    return AskFile(owner, filter, defaultSuffix, false, QString());
}

QString QtUserDialogs::AskSaveFile(QWidget* owner, const QString& filter,
                                   const QString& defaultSuffix, const QString& suggestedPath) {
    return AskFile(owner, filter, defaultSuffix, true, suggestedPath);
}

void QtUserDialogs::ShowMessage(QWidget* owner, const QString& text, const QString& caption) {
    QMessageBox::warning(owner, caption, text, QMessageBox::Ok);
}

bool QtUserDialogs::AskLimitAngle(QWidget* owner, float& limitAngle) {
    const QString settingsPath = GetApp()->settingsPath;
    if (!lastLimitAngle_) {
        lastLimitAngle_ = ReadConnectAngle(settingsPath).value_or(ConnectDialog::kDefaultAngle);
    }
    ConnectDialog dialog(IsEnglish(), *lastLimitAngle_, owner);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    limitAngle = dialog.limitAngle();
    lastLimitAngle_ = limitAngle;
    WriteConnectAngle(settingsPath, limitAngle);
    return true;
}

bool QtUserDialogs::AskImportScale(QWidget* owner, float& scale) {
    constexpr double kSmallest = 1e-6;
    constexpr double kLargest = 1e6;
    constexpr int kDecimals = 6;
    const MessageText question = ImportScaleQuestion(IsEnglish());
    bool accepted = false;
    const double chosen = QInputDialog::getDouble(owner, QString::fromUtf8(question.caption),
                                                  QString::fromUtf8(question.text), scale,
                                                  kSmallest, kLargest, kDecimals, &accepted);
    if (accepted) {
        scale = static_cast<float>(chosen);
    }
    return accepted;
}

bool QtUserDialogs::AskDiscardChanges(QWidget* owner) {
    const MessageText question = DiscardChangesQuestion(IsEnglish());
    return QMessageBox::question(owner, QString::fromUtf8(question.caption),
                                 QString::fromUtf8(question.text),
                                 QMessageBox::Discard | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Discard;
}

bool QtUserDialogs::AskSettings(QWidget* owner, SettingValues& values) {
    SettingDialog dialog(values, IsEnglish(), owner);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    values = dialog.values();
    return true;
}

void QtUserDialogs::ShowDocumentInfo(QWidget* owner, const DocumentCounts& counts) {
    DocumentInfoDialog dialog(counts, IsEnglish(), owner);
    dialog.exec();
}

void QtUserDialogs::ShowAbout(QWidget* owner) {
    AboutDialog dialog(owner);
    dialog.exec();
}

}  // namespace korvane
