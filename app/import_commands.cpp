#include "app/import_commands.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <functional>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/notify_codes.h"
#include "app/user_dialogs.h"
#include "import/lightwave_reader.h"
#include "import/metasequoia_reader.h"
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
void ShowWhatWasLeftOut(UserDialogs& dialogs, QWidget* owner, const ImportResult& result) {
    const ImportWarningTexts texts = ImportWarnings(IsEnglish());
    QStringList lines;
    if (result.droppedFaces > 0) {
        lines << QString::fromUtf8(texts.droppedFaces).arg(result.droppedFaces);
    }
    if (result.lathesLeftOut > 0) {
        lines << QString::fromUtf8(texts.lathesLeftOut).arg(result.lathesLeftOut);
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
    if (!lines.isEmpty()) {
        dialogs.ShowMessage(owner, lines.join(QLatin1Char('\n')), QString::fromUtf8(texts.caption));
    }
}

// The message for a reader's result: its failure, or what a finished read left out.
void ShowImportResult(UserDialogs& dialogs, QWidget* owner, const ImportResult& result,
                      const MessageText& notThatFormat) {
    switch (result.status) {
        case ImportStatus::kCannotOpen:
            Show(dialogs, owner, CannotOpenMessage(IsEnglish()));
            break;
        case ImportStatus::kNotThatFormat:
            Show(dialogs, owner, notThatFormat);
            break;
        case ImportStatus::kArchiveWithoutModel:
            Show(dialogs, owner, ArchiveWithoutModelMessage(IsEnglish()));
            break;
        case ImportStatus::kArchiveDamaged:
            Show(dialogs, owner, DamagedArchiveMessage(IsEnglish()));
            break;
        case ImportStatus::kArchiveTooLarge:
            Show(dialogs, owner, ArchiveTooLargeMessage(IsEnglish()));
            break;
        case ImportStatus::kImported:
            ShowWhatWasLeftOut(dialogs, owner, result);
            break;
    }
}

enum class ModelKind { kMetasequoia, kLightWave };

ImportResult ReadModel(ModelKind kind, const QString& path, CKorvDoc& document) {
    WaitCursor wait;
    if (kind == ModelKind::kLightWave) {
        const std::string fileTitle = QFileInfo(path).completeBaseName().toStdString();
        return ImportLightWave(LocalPath(path), fileTitle, document);
    }
    return ImportMetasequoia(LocalPath(path), document);
}

// The one import: asks for the file, reads it, tells what went wrong, and has the object tree
// refreshed and the views redrawn whatever happened.
QString RunImport(ModelKind kind, const PathChooser& choosePath, UserDialogs& dialogs,
                  QWidget* owner) {
    CKorvDoc* document = GetDocument();
    if (document == nullptr) {
        Show(dialogs, owner, kNoDocumentMessage);
        return {};
    }
    QString path = choosePath();
    if (!path.isEmpty()) {
        // The closed file dialog must not stay on the screen while a big model loads.
        if (owner != nullptr) {
            owner->window()->repaint();
        }
        const ImportResult result = ReadModel(kind, path, *document);
        ShowImportResult(dialogs, owner, result,
                         kind == ModelKind::kLightWave ? NotLightWaveMessage(IsEnglish())
                                                       : NotMetasequoiaMessage(IsEnglish()));
        if (result.status == ImportStatus::kImported) {
            document->lastImportPath = path;
        } else {
            path.clear();
        }
    }
    GetApp()->Notify(NotifyCode::NotifyImported);
    document->UpdateAllViews();
    return path;
}

// LightWave files are IFF forms (another form gets the LightWave reader's own refusal);
// everything else goes to the Metasequoia reader, which reads .mqo and .mqoz by content.
ModelKind KindOfContent(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(4) == "FORM" ? ModelKind::kLightWave
                                                                    : ModelKind::kMetasequoia;
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

QString ImportModelFile(const QString& path, UserDialogs& dialogs, QWidget* owner) {
    return RunImport(
        KindOfContent(path), [&] { return path; }, dialogs, owner);
}

}  // namespace korvane
