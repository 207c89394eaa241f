#include "app/import_commands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <functional>
#include <new>
#include <stdexcept>

#include "app/display_name.h"
#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/notify_codes.h"
#include "app/user_dialogs.h"
#include "import/assimp_import.h"
#include "import/file_bytes.h"
#include "import/lightwave_reader.h"
#include "import/metasequoia_reader.h"
#include "import/model_format.h"
#include "patch/patch_builder.h"
#include "resources/message_texts.h"

namespace korvane {
namespace {

using PathChooser = std::function<QString()>;

void Show(UserDialogs& dialogs, QWidget* owner, const MessageText& message) {
    dialogs.ShowMessage(owner, QString::fromUtf8(message.text), QString::fromUtf8(message.caption));
}

// Holds the wait cursor while a file is read.
class WaitCursor {
  public:
    WaitCursor() { GetApp()->SetWaitCursor(1); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { GetApp()->SetWaitCursor(0); }
};

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A file that was read may still have lost parts of its model on the way; the user is told which.
// `detail` names the side files that were not read.
void ShowWhatWasLeftOut(UserDialogs& dialogs, QWidget* owner, const ImportResult& result,
                        const QString& detail) {
    const ImportWarningTexts texts = ImportWarnings(IsEnglish());
    QStringList lines;
    if (result.droppedFaces > 0) {
        lines << QString::fromUtf8(texts.droppedFaces).arg(result.droppedFaces);
    }
    if (result.lathesLeftOut > 0) {
        lines << QString::fromUtf8(texts.lathesLeftOut).arg(result.lathesLeftOut);
    }
    if (result.mirrorsLeftOut > 0) {
        lines << QString::fromUtf8(texts.mirrorsLeftOut).arg(result.mirrorsLeftOut);
    }
    if (result.truncated) {
        lines << QString::fromUtf8(texts.truncated);
    }
    if (result.outlineFaces > 0) {
        lines << QString::fromUtf8(texts.outlineFaces).arg(result.outlineFaces);
    }
    if (result.vertexBlocksMismatched > 0) {
        lines << QString::fromUtf8(texts.vertexBlocksMismatched).arg(result.vertexBlocksMismatched);
    }
    if (result.sideFilesRefused > 0) {
        lines << QString::fromUtf8(texts.sideFilesRefused).arg(detail);
    }
    if (result.archiveModels > 1) {
        lines << QString::fromUtf8(texts.otherArchiveModels)
                     .arg(result.archiveModels)
                     .arg(DisplayName(result.archiveModelRead));
    }
    if (!lines.isEmpty()) {
        dialogs.ShowMessage(owner, lines.join(QLatin1Char('\n')), QString::fromUtf8(texts.caption));
    }
}

// How a file is read: by a reader of our own, or by assimp in its helper process.
enum class ModelKind { kMetasequoia, kLightWave, kAssimp };

struct ReadOutcome {
    ImportResult result;
    QString detail;  // assimp's own words on a refused file, or the side files it did not read
};

// The message for a reader's result: its failure, or what a finished read left out.
void ShowImportResult(UserDialogs& dialogs, QWidget* owner, const QString& path, ModelKind kind,
                      const ReadOutcome& outcome) {
    const bool english = IsEnglish();
    switch (outcome.result.status) {
        case ImportStatus::kCannotOpen:
            Show(dialogs, owner, CannotOpenMessage(english));
            break;
        case ImportStatus::kNotRegularFile: {
            const MessageText message = NotRegularFileMessage(english);
            dialogs.ShowMessage(owner,
                                QString::fromUtf8(message.text).arg(QDir::toNativeSeparators(path)),
                                QString::fromUtf8(message.caption));
            break;
        }
        case ImportStatus::kNotThatFormat:
            Show(dialogs, owner,
                 kind == ModelKind::kLightWave ? NotLightWaveMessage(english)
                                               : NotMetasequoiaMessage(english));
            break;
        case ImportStatus::kArchiveWithoutModel:
            Show(dialogs, owner, ArchiveWithoutModelMessage(english));
            break;
        case ImportStatus::kArchiveDamaged:
            Show(dialogs, owner, DamagedArchiveMessage(english));
            break;
        case ImportStatus::kArchiveTooLarge:
            Show(dialogs, owner, ArchiveTooLargeMessage(english));
            break;
        case ImportStatus::kArchiveTooManyMembers:
            Show(dialogs, owner, ArchiveTooManyMembersMessage(english));
            break;
        case ImportStatus::kAssimpRefused:
        case ImportStatus::kImporterCrashed:
        case ImportStatus::kImporterTimedOut:
        case ImportStatus::kImporterOutOfMemory:
        case ImportStatus::kImporterMissing:
        case ImportStatus::kMalformed:
        case ImportStatus::kBeyondMemory: {
            const MessageText message = ImporterFailureMessage(outcome.result.status, english);
            dialogs.ShowMessage(
                owner,
                QString::fromUtf8(message.text).arg(QDir::toNativeSeparators(path), outcome.detail),
                QString::fromUtf8(message.caption));
            break;
        }
        case ImportStatus::kImported:
            ShowWhatWasLeftOut(dialogs, owner, outcome.result, outcome.detail);
            break;
    }
}

// The scale of files read through assimp, asked at their import and kept until the program ends.
float& RememberedImportScale() {
    static float scale = 1.0f;
    return scale;
}

ReadOutcome ReadModel(ModelKind kind, const QString& path, CKorvDoc& document) {
    WaitCursor wait;
    switch (kind) {
        case ModelKind::kLightWave:
            return {ImportLightWave(LocalPath(path),
                                    QFileInfo(path).completeBaseName().toStdString(), document),
                    {}};
        case ModelKind::kAssimp: {
            // The helper would wait on a pipe until its time runs out: refused here at once.
            if (CheckReadableFile(LocalPath(path)).status == FileReadStatus::kNotRegularFile) {
                return {ImportResult{.status = ImportStatus::kNotRegularFile}, {}};
            }
            AssimpImportOptions options;
            options.scale = RememberedImportScale();
            std::string detail;
            const ImportResult result =
                ImportThroughAssimp(LocalPath(path), document, options, &detail);
            return {result, QString::fromStdString(detail)};
        }
        case ModelKind::kMetasequoia:
            break;
    }
    return {ImportMetasequoia(LocalPath(path), document), {}};
}

// Objects come from the readers without patches; the view only draws what was found here.
void DetectNewPatches(CKorvDoc& document) {
    for (PatchObject* object : document.objects) {
        if (!object->patchesValid) {
            DetectPatches(*object);
        }
    }
}

// Reads the model and finds its patches; a model too big for the memory left fails like one that
// the helper stopped, and the document keeps exactly the objects it had.
ReadOutcome ReadModelWithinMemory(ModelKind kind, const QString& path, CKorvDoc& document) {
    const std::int32_t before = document.objects.GetCount();
    try {
        ReadOutcome outcome = ReadModel(kind, path, document);
        DetectNewPatches(document);
        return outcome;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    document.DeleteObjectsAfter(before);
    return {{.status = ImportStatus::kImporterOutOfMemory},
            QString::fromUtf8(ModelBeyondMemoryText(IsEnglish()))};
}

enum class ScaleQuestion { kAsk, kRemembered };

// The one import: asks for the file, reads it, tells what went wrong, and has the object tree
// refreshed and the views redrawn whatever happened.
QString RunImport(ModelKind kind, const PathChooser& choosePath, UserDialogs& dialogs,
                  QWidget* owner, ScaleQuestion scale = ScaleQuestion::kRemembered) {
    CKorvDoc* document = GetDocument();
    if (document == nullptr) {
        Show(dialogs, owner, kNoDocumentMessage);
        return {};
    }
    QString path = choosePath();
    if (!path.isEmpty() && kind == ModelKind::kAssimp && scale == ScaleQuestion::kAsk &&
        !dialogs.AskImportScale(owner, RememberedImportScale())) {
        path.clear();
    }
    if (!path.isEmpty()) {
        // The closed file dialog must not stay on the screen while a big model loads.
        if (owner != nullptr) {
            owner->window()->repaint();
        }
        const ReadOutcome outcome = ReadModelWithinMemory(kind, path, *document);
        ShowImportResult(dialogs, owner, path, kind, outcome);
        if (outcome.result.status == ImportStatus::kImported) {
            document->lastImportPath = path;
        } else {
            path.clear();
        }
    }
    GetApp()->Notify(NotifyCode::NotifyImported);
    document->UpdateAllViews();
    return path;
}

// Metasequoia files (.mqo, .mqoz) and LightWave's IFF forms (another form gets the LightWave
// reader's own refusal) go to our readers; anything else is assimp's to read or refuse. A file
// that cannot be read goes to the Metasequoia reader, which says why.
ModelKind KindOfContent(const QString& path) {
    constexpr std::size_t kSignatureBytes = 64;
    std::string first;
    if (ReadFileStart(LocalPath(path), kSignatureBytes, first).status != FileReadStatus::kRead) {
        return ModelKind::kMetasequoia;
    }
    if (first.starts_with("FORM")) {
        return ModelKind::kLightWave;
    }
    return DetectModelFormat(first) == ModelFormat::kMetasequoia ? ModelKind::kMetasequoia
                                                                 : ModelKind::kAssimp;
}

// "Other formats (*.obj *.fbx ...)": every extension assimp reads, asked of it once.
QString OtherFormatsFilter() {
    static const QString filter = [] {
        QStringList patterns;
        for (const std::string& extension : AssimpExtensions()) {
            patterns << QStringLiteral("*.") + QString::fromStdString(extension);
        }
        return QString::fromUtf8(OtherFormatsLabel(IsEnglish())) + QStringLiteral(" (") +
               patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }();
    return filter;
}

}  // namespace

QString RunImportMetasequoia(UserDialogs& dialogs, QWidget* owner) {
    return RunImport(
        ModelKind::kMetasequoia,
        [&] {
            return dialogs.AskOpenFile(owner, QStringLiteral("Metasequoia(*.mqo *.mqoz)"),
                                       QStringLiteral("mqo"));
        },
        dialogs, owner);
}

QString RunImportLightWave(UserDialogs& dialogs, QWidget* owner) {
    return RunImport(
        ModelKind::kLightWave,
        [&] {
            return dialogs.AskOpenFile(owner, QStringLiteral("LightWave(*.lwo)"),
                                       QStringLiteral("lwo"));
        },
        dialogs, owner);
}

QString RunImport3dStudio(UserDialogs& dialogs, QWidget* owner) {
    return RunImport(
        ModelKind::kAssimp,
        [&] {
            return dialogs.AskOpenFile(owner, QStringLiteral("3D Studio(*.3ds)"),
                                       QStringLiteral("3ds"));
        },
        dialogs, owner, ScaleQuestion::kAsk);
}

QString RunImportOtherFormats(UserDialogs& dialogs, QWidget* owner) {
    return RunImport(
        ModelKind::kAssimp, [&] { return dialogs.AskOpenFile(owner, OtherFormatsFilter(), {}); },
        dialogs, owner, ScaleQuestion::kAsk);
}

QString ImportModelFile(const QString& path, UserDialogs& dialogs, QWidget* owner) {
    return RunImport(
        KindOfContent(path), [&] { return path; }, dialogs, owner);
}

}  // namespace korvane
