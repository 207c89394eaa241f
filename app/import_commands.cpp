#include "app/import_commands.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <functional>

#include "app/display_name.h"
#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/notify_codes.h"
#include "app/user_dialogs.h"
#include "import/assimp_import.h"
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
    WaitCursor() { GetApp()->SetWaitCursor(true); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { GetApp()->SetWaitCursor(false); }
};

// The text of one warning, with its count, in the user's language.
QString WarningLine(ImportWarningKind kind, std::int32_t count, const ImportReport& report) {
    const ImportWarningTexts texts = ImportWarnings(IsEnglish(), count);
    switch (kind) {
        case ImportWarningKind::kDroppedFaces:
            return QString::fromUtf8(texts.droppedFaces).arg(count);
        case ImportWarningKind::kLathesLeftOut:
            return QString::fromUtf8(texts.lathesLeftOut).arg(count);
        case ImportWarningKind::kMirrorsLeftOut:
            return QString::fromUtf8(texts.mirrorsLeftOut).arg(count);
        case ImportWarningKind::kTruncated:
            return QString::fromUtf8(texts.truncated);
        case ImportWarningKind::kOutlineFaces:
            return QString::fromUtf8(texts.outlineFaces).arg(count);
        case ImportWarningKind::kVertexBlocksMismatched:
            return QString::fromUtf8(texts.vertexBlocksMismatched).arg(count);
        case ImportWarningKind::kSideFilesRefused:
            return QString::fromUtf8(texts.sideFilesRefused)
                .arg(QString::fromStdString(report.detail));
        case ImportWarningKind::kOtherArchiveModels:
            return QString::fromUtf8(texts.otherArchiveModels)
                .arg(count)
                .arg(DisplayName(report.archiveModelRead));
    }
    return {};
}

// A file that was read may still have lost parts of its model on the way; the user is told which,
// in one message: what was left out of the model first, then which model of an archive was read.
void ShowWhatWasLeftOut(UserDialogs& dialogs, QWidget* owner, const ImportReport& report) {
    constexpr ImportWarningKind kOrder[] = {
        ImportWarningKind::kDroppedFaces,     ImportWarningKind::kLathesLeftOut,
        ImportWarningKind::kMirrorsLeftOut,   ImportWarningKind::kTruncated,
        ImportWarningKind::kOutlineFaces,     ImportWarningKind::kVertexBlocksMismatched,
        ImportWarningKind::kSideFilesRefused, ImportWarningKind::kOtherArchiveModels};
    QStringList lines;
    for (const ImportWarningKind kind : kOrder) {
        if (const std::int32_t count = report.Count(kind); count > 0) {
            lines << WarningLine(kind, count, report);
        }
    }
    if (!lines.isEmpty()) {
        dialogs.ShowMessage(owner, lines.join(QLatin1Char('\n')),
                            QString::fromUtf8(ImportWarnings(IsEnglish(), 0).caption));
    }
}

// A message whose text names the file (%1) and gives the reader's or the helper's words (%2).
void ShowNamingFile(UserDialogs& dialogs, QWidget* owner, const MessageText& message,
                    const QString& path, const QString& detail) {
    dialogs.ShowMessage(owner,
                        QString::fromUtf8(message.text).arg(QDir::toNativeSeparators(path), detail),
                        QString::fromUtf8(message.caption));
}

// The message for an import's report: its failure, or what a finished read left out.
void ShowImportReport(UserDialogs& dialogs, QWidget* owner, const QString& path,
                      const ImportReport& report) {
    const bool english = IsEnglish();
    const QString detail = QString::fromStdString(report.detail);
    switch (report.status) {
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
                 report.format == ModelFormat::kLightWave ? NotLightWaveMessage(english)
                                                          : NotMetasequoiaMessage(english));
            break;
        case ImportStatus::kMalformed:
            ShowNamingFile(dialogs, owner, DamagedRuvoPatchMessage(english), path, detail);
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
            ShowNamingFile(dialogs, owner, ImporterFailureMessage(report.status, english), path,
                           detail);
            break;
        case ImportStatus::kBeyondMemory:
            ShowNamingFile(dialogs, owner,
                           ImporterFailureMessage(ImportStatus::kImporterOutOfMemory, english),
                           path, QString::fromUtf8(ModelBeyondMemoryText(english)));
            break;
        case ImportStatus::kImported:
            ShowWhatWasLeftOut(dialogs, owner, report);
            break;
    }
}

// The scale of files read through assimp, asked at their import and kept until the program ends.
float& RememberedImportScale() {
    static float scale = 1.0f;
    return scale;
}

ImportReport ReadModel(ModelReader reader, const QString& path, CKorvDoc& document) {
    WaitCursor wait;
    const ImportOptions options{.reader = reader, .assimp = {.scale = RememberedImportScale()}};
    return document.Import(QFile::encodeName(path).toStdString(), options);
}

enum class ScaleQuestion { kAsk, kRemembered };

// The one import: asks for the file, reads it, tells what went wrong, and has the object tree
// refreshed and the views redrawn whatever happened.
QString RunImport(ModelReader reader, const PathChooser& choosePath, UserDialogs& dialogs,
                  QWidget* owner, ScaleQuestion scale = ScaleQuestion::kRemembered) {
    CKorvDoc* document = GetDocument();
    if (document == nullptr) {
        Show(dialogs, owner, kNoDocumentMessage);
        return {};
    }
    QString path = choosePath();
    if (!path.isEmpty() && scale == ScaleQuestion::kAsk &&
        !dialogs.AskImportScale(owner, RememberedImportScale())) {
        path.clear();
    }
    if (!path.isEmpty()) {
        // The closed file dialog must not stay on the screen while a big model loads.
        if (owner != nullptr) {
            owner->window()->repaint();
        }
        const ImportReport report = ReadModel(reader, path, *document);
        ShowImportReport(dialogs, owner, path, report);
        if (report.status == ImportStatus::kImported) {
            document->lastImportPath = path;
        } else {
            path.clear();
        }
    }
    GetApp()->Notify(NotifyCode::NotifyImported);
    document->UpdateAllViews();
    return path;
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
        ModelReader::kMetasequoia,
        [&] {
            return dialogs.AskOpenFile(owner, QStringLiteral("Metasequoia(*.mqo *.mqoz)"),
                                       QStringLiteral("mqo"));
        },
        dialogs, owner);
}

QString RunImportLightWave(UserDialogs& dialogs, QWidget* owner) {
    return RunImport(
        ModelReader::kLightWave,
        [&] {
            return dialogs.AskOpenFile(owner, QStringLiteral("LightWave(*.lwo)"),
                                       QStringLiteral("lwo"));
        },
        dialogs, owner);
}

QString RunImport3dStudio(UserDialogs& dialogs, QWidget* owner) {
    return RunImport(
        ModelReader::kAssimp,
        [&] {
            return dialogs.AskOpenFile(owner, QStringLiteral("3D Studio(*.3ds)"),
                                       QStringLiteral("3ds"));
        },
        dialogs, owner, ScaleQuestion::kAsk);
}

QString RunImportOtherFormats(UserDialogs& dialogs, QWidget* owner) {
    return RunImport(
        ModelReader::kAssimp, [&] { return dialogs.AskOpenFile(owner, OtherFormatsFilter(), {}); },
        dialogs, owner, ScaleQuestion::kAsk);
}

QString RunImportFile(const QString& path, UserDialogs& dialogs, QWidget* owner) {
    return RunImport(
        ModelReader::kByContent, [&] { return path; }, dialogs, owner);
}

}  // namespace korvane
