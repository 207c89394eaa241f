#include "app/export_command.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/notify_codes.h"
#include "app/user_dialogs.h"
#include "resources/message_texts.h"

namespace korvane {
namespace {

// The last imported model's name with the export's extension, beside it.
QString SuggestedPath(const CKorvDoc& document, const QString& suffix) {
    if (document.lastImportPath.isEmpty()) {
        return {};
    }
    const QFileInfo model(document.lastImportPath);
    return model.dir().filePath(model.completeBaseName() + QLatin1Char('.') + suffix);
}

// The one export: asks for the file, writes it, and tells the failure or what was written where.
void RunExport(const QString& filter, const QString& suffix, ExportFormat format,
               UserDialogs& dialogs, QWidget* owner) {
    CKorvDoc* document = GetDocument();
    if (document == nullptr) {
        dialogs.ShowMessage(owner, QString::fromUtf8(kNoDocumentMessage.text),
                            QString::fromUtf8(kNoDocumentMessage.caption));
        return;
    }
    const QString path =
        dialogs.AskSaveFile(owner, filter, suffix, SuggestedPath(*document, suffix));
    if (path.isEmpty()) {
        return;
    }
    CKorvApp* app = GetApp();
    app->SetWaitCursor(1);
    const ExportReport result =
        document->Export(QFile::encodeName(path).toStdString(),
                         {.format = format,
                          .surfaceResolution = document->displaySettings.surfaceResolution,
                          .smoothSurfaces = document->displaySettings.smoothSurfaces});
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
    const int objects = document->Objects().GetCount();
    app->SetStatusText(QString::fromUtf8(ExportWrittenStatus(IsEnglish(), objects))
                           .arg(objects)
                           .arg(QDir::toNativeSeparators(path))
                           .toStdString());
    app->Notify(NotifyCode::NotifyStatusChanged);
}

}  // namespace

void RunExportRuvoPatch(UserDialogs& dialogs, QWidget* owner) {
    RunExport(QStringLiteral("ruvoPatch File(*.rvp)"), QStringLiteral("rvp"),
              ExportFormat::kRuvoPatch, dialogs, owner);
}

void RunExportAnimationMaster(UserDialogs& dialogs, QWidget* owner) {
    RunExport(QStringLiteral("Animation Master File(*.mdl)"), QStringLiteral("mdl"),
              ExportFormat::kAnimationMaster, dialogs, owner);
}

void RunExportSPatch(UserDialogs& dialogs, QWidget* owner) {
    RunExport(QStringLiteral("sPatch File(*.spt)"), QStringLiteral("spt"), ExportFormat::kSPatch,
              dialogs, owner);
}

void RunExportSurfaceMesh(UserDialogs& dialogs, QWidget* owner) {
    RunExport(QStringLiteral("Surface mesh (*.obj *.ply *.stl *.gltf *.glb)"),
              QStringLiteral("obj"), ExportFormat::kSurfaceMesh, dialogs, owner);
}

void RunExportStep(UserDialogs& dialogs, QWidget* owner) {
    RunExport(QStringLiteral("STEP File(*.step *.stp)"), QStringLiteral("step"),
              ExportFormat::kStep, dialogs, owner);
}

void RunExportIges(UserDialogs& dialogs, QWidget* owner) {
    RunExport(QStringLiteral("IGES File(*.igs *.iges)"), QStringLiteral("igs"),
              ExportFormat::kIges, dialogs, owner);
}

}  // namespace korvane
