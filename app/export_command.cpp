#include "app/export_command.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/notify_codes.h"
#include "app/user_dialogs.h"
#include "patch/rvp_writer.h"
#include "resources/message_texts.h"

namespace korvane {

void RunExportRuvoPatch(UserDialogs& dialogs, QWidget* owner) {
    CKorvDoc* document = GetDocument();
    if (document == nullptr) {
        dialogs.ShowMessage(owner, QString::fromUtf8(kNoDocumentMessage.text),
                            QString::fromUtf8(kNoDocumentMessage.caption));
        return;
    }
    const QString suggested =
        document->lastImportPath.isEmpty()
            ? QString()
            : QFileInfo(document->lastImportPath)
                  .dir()
                  .filePath(QFileInfo(document->lastImportPath).completeBaseName() +
                            QStringLiteral(".rvp"));
    const QString path = dialogs.AskSaveFile(owner, QStringLiteral("ruvoPatch File(*.rvp)"),
                                             QStringLiteral("rvp"), suggested);
    if (path.isEmpty()) {
        return;
    }
    CKorvApp* app = GetApp();
    app->SetWaitCursor(1);
    const WriteResult result =
        WriteRvpFile(QFile::encodeName(path).toStdString(), document->objects);
    app->SetWaitCursor(0);
    if (result.status != WriteStatus::kWritten) {
        const MessageText message = ExportFailedMessage(IsEnglish());
        dialogs.ShowMessage(
            owner,
            QString::fromUtf8(message.text)
                .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(result.error.c_str())),
            QString::fromUtf8(message.caption));
        return;
    }
    document->modified = false;
    app->SetStatusText(QString::fromUtf8(ExportWrittenStatus(IsEnglish()))
                           .arg(document->objects.GetCount())
                           .arg(QDir::toNativeSeparators(path))
                           .toStdString());
    app->Notify(NotifyCode::NotifyStatusChanged);
}

}  // namespace korvane
