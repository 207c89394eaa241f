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

// The Metasequoia reader's run: it needs the document, asks for the file and tells failures.
void RunMetasequoiaReader(const PathChooser& choosePath, UserDialogs& dialogs, QWidget* owner) {
    CKorvDoc* document = GetDocument();
    if (document == nullptr) {
        Show(dialogs, owner, kNoDocumentMessage);
        return;
    }
    const QString path = choosePath();
    if (path.isEmpty()) {
        return;
    }
    ImportResult result;
    {
        WaitCursor wait;
        result = ImportMetasequoia(LocalPath(path), *document);
    }
    ShowImportResult(dialogs, owner, result, NotMetasequoiaMessage(IsEnglish()));
}

void RunLightWaveReader(const PathChooser& choosePath, UserDialogs& dialogs, QWidget* owner) {
    CKorvDoc* document = GetDocument();
    if (document == nullptr) {
        Show(dialogs, owner, kNoDocumentMessage);
        return;
    }
    const QString path = choosePath();
    if (path.isEmpty()) {
        return;
    }
    const std::string fileTitle = QFileInfo(path).completeBaseName().toStdString();
    ImportResult result;
    {
        WaitCursor wait;
        result = ImportLightWave(LocalPath(path), fileTitle, *document);
    }
    ShowImportResult(dialogs, owner, result, NotLightWaveMessage(IsEnglish()));
}

void RedrawViews() {
    if (CKorvDoc* document = GetDocument()) {
        document->UpdateAllViews();
    }
}

void ImportMetasequoiaCommand(const PathChooser& choosePath, UserDialogs& dialogs, QWidget* owner) {
    RunMetasequoiaReader(choosePath, dialogs, owner);
    GetApp()->Notify(NotifyImported);
    RedrawViews();
}

void ImportLightWaveCommand(const PathChooser& choosePath, UserDialogs& dialogs, QWidget* owner) {
    RunLightWaveReader(choosePath, dialogs, owner);
    RedrawViews();
}

// LightWave files are IFF forms; everything else goes to the Metasequoia reader.
bool StartsWithIffForm(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(4) == "FORM";
}

}  // namespace

void RunImportMetasequoia(UserDialogs& dialogs, QWidget* owner) {
    ImportMetasequoiaCommand(
        [&] {
            return dialogs.AskOpenFile(owner, QStringLiteral("Metasequoia(*.mqo *.mqoz)"),
                                       QStringLiteral("mqo"));
        },
        dialogs, owner);
}

void RunImportLightWave(UserDialogs& dialogs, QWidget* owner) {
    ImportLightWaveCommand(
        [&] {
            return dialogs.AskOpenFile(owner, QStringLiteral("LightWave(*.lwo)"),
                                       QStringLiteral("lwo"));
        },
        dialogs, owner);
}

void ImportModelFromCommandLine(const QString& path, UserDialogs& dialogs, QWidget* owner) {
    const PathChooser given = [&] { return path; };
    if (StartsWithIffForm(path)) {
        ImportLightWaveCommand(given, dialogs, owner);
    } else {
        ImportMetasequoiaCommand(given, dialogs, owner);
    }
}

}  // namespace korvane
