#include "app/startup.h"

#include <QFileInfo>

#include <string>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/language_choice.h"
#include "app/main_frame.h"
#include "app/qt_translations.h"
#include "import/assimp_import.h"

namespace korvane {
namespace {

// The extensions that assimp reads, indented, in lines of at most 80 columns.
QString AssimpFormatLines() {
    constexpr qsizetype kWidth = 80;
    const QString indent = QStringLiteral("  ");
    QString lines;
    QString line = indent;
    for (const std::string& extension : AssimpExtensions()) {
        const QString word = QLatin1Char('.') + QString::fromStdString(extension);
        if (line.size() > indent.size() && line.size() + 1 + word.size() > kWidth) {
            lines += line + QLatin1Char('\n');
            line = indent;
        }
        line += (line.size() > indent.size() ? QStringLiteral(" ") : QString()) + word;
    }
    if (line.size() == indent.size()) {
        return QStringLiteral("  (none now: its helper program korvane-assimp was not found)\n");
    }
    return lines + line + QLatin1Char('\n');
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine result;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!optionsEnded && argument == QStringLiteral("--")) {
            optionsEnded = true;
        } else if (!optionsEnded &&
                   (argument == QStringLiteral("--help") || argument == QStringLiteral("-h"))) {
            result.help = true;
        } else if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            if (result.valid()) {
                result.error = QStringLiteral("unknown option %1").arg(argument);
            }
        } else {
            result.modelPaths.append(argument);
        }
    }
    return result;
}

QString Usage() {
    return QStringLiteral(
               "Usage: korvane [MODEL...]\n"
               "       korvane --help\n"
               "\n"
               "Opens the desktop program and imports each MODEL in turn, in the order given, as\n"
               "files dropped on its window are. A model is recognised by its content:\n"
               "  Metasequoia  .mqo, and .mqoz (compressed)\n"
               "  LightWave    .lwo (LWOB, LWO2 and LWO3)\n"
               "and any other file goes to the Open Asset Import Library (assimp), which "
               "reads:\n") +
           AssimpFormatLines() +
           QStringLiteral(
               "These come in at scale 1 here; File > Import > Other formats asks for the scale.\n"
               "\n"
               "At the first start the program asks for the language of its menus and messages,\n"
               "Japanese or English, and keeps it in k_r_v.ini beside the program.\n");
}

Startup::Startup(CKorvApp& app, UserDialogs& dialogs, LanguageChooser& chooser)
    : app_(app), dialogs_(dialogs), chooser_(chooser) {}

Startup::~Startup() {
    frame_.reset();
    document_.reset();
}

bool Startup::Run(const QStringList& arguments) {
    const CommandLine commandLine = ParseCommandLine(arguments);
    if (!commandLine.valid()) {
        qCritical("korvane: %s\n\n%s", qPrintable(commandLine.error), qPrintable(Usage()));
        return false;
    }
    app_.useEnglish = SettleLanguage(app_.settingsPath, chooser_);
    qtTranslations_ = InstallQtTranslations(app_.useEnglish);
    document_ = std::make_unique<CKorvDoc>();
    frame_ = std::make_unique<CMainFrame>(document_.get(), dialogs_);
    document_->OnNewDocument();
    frame_->show();
    QStringList models;
    for (const QString& path : commandLine.modelPaths) {
        models << QFileInfo(path).absoluteFilePath();
    }
    frame_->ImportFiles(models);
    return true;
}

}  // namespace korvane
