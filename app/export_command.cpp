#include "app/export_command.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/notify_codes.h"
#include "app/user_dialogs.h"
#include "export/animation_master_writer.h"
#include "export/cad/cad_export.h"
#include "export/spatch_writer.h"
#include "patch/rvp_writer.h"
#include "patch/surface_mesh_writer.h"
#include "resources/message_texts.h"

namespace korvane {
namespace {

using Writer = std::function<WriteResult(const std::string& path, const CKorvDoc& document)>;

// The last imported model's name with the export's extension, beside it.
QString SuggestedPath(const CKorvDoc& document, const QString& suffix) {
    if (document.lastImportPath.isEmpty()) {
        return {};
    }
    const QFileInfo model(document.lastImportPath);
    return model.dir().filePath(model.completeBaseName() + QLatin1Char('.') + suffix);
}

// The one export: asks for the file, writes it, and tells the failure or what was written where.
void RunExport(const QString& filter, const QString& suffix, const Writer& write,
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
    const WriteResult result = write(QFile::encodeName(path).toStdString(), *document);
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
    const int objects = document->objects.GetCount();
    app->SetStatusText(QString::fromUtf8(ExportWrittenStatus(IsEnglish(), objects))
                           .arg(objects)
                           .arg(QDir::toNativeSeparators(path))
                           .toStdString());
    app->Notify(NotifyCode::NotifyStatusChanged);
}

}  // namespace

void RunExportRuvoPatch(UserDialogs& dialogs, QWidget* owner) {
    RunExport(
        QStringLiteral("ruvoPatch File(*.rvp)"), QStringLiteral("rvp"),
        [](const std::string& path, const CKorvDoc& document) {
            return WriteRvpFile(path, document.objects);
        },
        dialogs, owner);
}

void RunExportAnimationMaster(UserDialogs& dialogs, QWidget* owner) {
    RunExport(
        QStringLiteral("Animation Master File(*.mdl)"), QStringLiteral("mdl"),
        [](const std::string& path, const CKorvDoc& document) {
            return WriteAnimationMasterFile(path, document.objects);
        },
        dialogs, owner);
}

void RunExportSPatch(UserDialogs& dialogs, QWidget* owner) {
    RunExport(
        QStringLiteral("sPatch File(*.spt)"), QStringLiteral("spt"),
        [](const std::string& path, const CKorvDoc& document) {
            return WriteSPatchFile(path, document.objects);
        },
        dialogs, owner);
}

void RunExportSurfaceMesh(UserDialogs& dialogs, QWidget* owner) {
    RunExport(
        QStringLiteral("Surface mesh (*.obj *.ply *.stl *.gltf *.glb)"), QStringLiteral("obj"),
        [](const std::string& path, const CKorvDoc& document) {
            return WriteSurfaceMesh(path, document.objects,
                                    document.displaySettings.surfaceResolution);
        },
        dialogs, owner);
}

void RunExportCad(CadFormat format, UserDialogs& dialogs, QWidget* owner) {
    const bool step = format == CadFormat::kStep;
    RunExport(
        step ? QStringLiteral("STEP File(*.step *.stp)")
             : QStringLiteral("IGES File(*.igs *.iges)"),
        step ? QStringLiteral("step") : QStringLiteral("igs"),
        [format](const std::string& path, const CKorvDoc& document) {
            return WriteCadFile(path, document.objects, format).written;
        },
        dialogs, owner);
}

}  // namespace korvane
