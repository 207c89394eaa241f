#include "app/export_command.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "app/display_name.h"
#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/notify_codes.h"
#include "app/user_dialogs.h"
#include "resources/message_texts.h"

namespace korvane {
namespace {

// The last imported model's name with the export's extension, beside it; never a file that the
// document was imported from (a surface mesh of box.obj is offered as box-patches.obj).
QString SuggestedPath(const CKorvDoc& document, const QString& suffix) {
    if (document.lastImportPath.isEmpty()) {
        return {};
    }
    const QFileInfo model(document.lastImportPath);
    const QString suggested =
        model.dir().filePath(model.completeBaseName() + QLatin1Char('.') + suffix);
    if (!document.IsImportedFile(QFile::encodeName(suggested).toStdString())) {
        return suggested;
    }
    return model.dir().filePath(model.completeBaseName() + QStringLiteral("-patches.") + suffix);
}

// Why nothing was written, in a message box.
void ShowNotWritten(const ExportReport& result, const CKorvDoc& document, const QString& path,
                    UserDialogs& dialogs, QWidget* owner) {
    const bool english = IsEnglish();
    MessageText message;
    QString text;
    switch (result.status) {
        case WriteStatus::kNothingToWrite:
            message = NothingToExportMessage(english, document.Objects().IsEmpty(),
                                             WritesPatches(result.format));
            text = QString::fromUtf8(message.text);
            break;
        case WriteStatus::kWouldReplaceSource:
            message = ExportWouldReplaceSourceMessage(english);
            text = QString::fromUtf8(message.text).arg(QDir::toNativeSeparators(path));
            break;
        default:
            message = ExportFailedMessage(english);
            text = QString::fromUtf8(message.text)
                       .arg(QDir::toNativeSeparators(path),
                            QString::fromLocal8Bit(result.error.c_str()));
            break;
    }
    dialogs.ShowMessage(owner, text, QString::fromUtf8(message.caption));
}

// What a written file left out, in one warning; nothing when it left out nothing.
void ShowLeftOut(const ExportReport& result, UserDialogs& dialogs, QWidget* owner) {
    const bool english = IsEnglish();
    QStringList lines;
    if (!result.objectsLeftOut.empty()) {
        QStringList names;
        for (const std::string& name : result.objectsLeftOut) {
            names << DisplayName(name);
        }
        lines << QString::fromUtf8(ObjectsLeftOutWarning(english))
                     .arg(names.join(QStringLiteral(", ")));
    }
    if (result.patchesLeftOut > 0) {
        lines << QString::fromUtf8(PatchesLeftOutWarning(english, result.patchesLeftOut))
                     .arg(result.patchesLeftOut);
    }
    if (!lines.isEmpty()) {
        dialogs.ShowMessage(owner, lines.join(QLatin1Char('\n')),
                            QString::fromUtf8(ImportWarnings(english, 0).caption));
    }
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
    app->SetWaitCursor(true);
    const ExportReport result =
        document->Export(QFile::encodeName(path).toStdString(),
                         {.format = format,
                          .surfaceResolution = document->displaySettings.surfaceResolution,
                          .smoothSurfaces = document->displaySettings.smoothSurfaces});
    app->SetWaitCursor(false);
    if (result.status != WriteStatus::kWritten) {
        ShowNotWritten(result, *document, path, dialogs, owner);
        return;
    }
    document->modified = false;
    ShowLeftOut(result, dialogs, owner);
    const int objects = result.objectsWritten;
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
    RunExport(QStringLiteral("IGES File(*.igs *.iges)"), QStringLiteral("igs"), ExportFormat::kIges,
              dialogs, owner);
}

}  // namespace korvane
