#include "app/startup.h"

#include <QFileInfo>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/language_choice.h"
#include "app/main_frame.h"
#include "app/qt_translations.h"

namespace korvane {

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine result;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!optionsEnded && argument == QStringLiteral("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            result.valid = false;
            result.error = QStringLiteral("unknown option %1").arg(argument);
            return result;
        } else if (!result.modelPath.isEmpty()) {
            result.valid = false;
            result.error = QStringLiteral("only one model file can be opened at start");
            return result;
        } else {
            result.modelPath = argument;
        }
    }
    return result;
}

Startup::Startup(CKorvApp& app, UserDialogs& dialogs, LanguageChooser& chooser)
    : app_(app), dialogs_(dialogs), chooser_(chooser) {}

Startup::~Startup() {
    frame_.reset();
    document_.reset();
}

bool Startup::Run(const QStringList& arguments) {
    const CommandLine commandLine = ParseCommandLine(arguments);
    if (!commandLine.valid) {
        qCritical("korvane: %s\nUsage: korvane [MODEL.mqo | MODEL.lwo]",
                  qPrintable(commandLine.error));
        return false;
    }
    app_.useEnglish = SettleLanguage(app_.settingsPath, chooser_);
    qtTranslations_ = InstallQtTranslations(app_.useEnglish);
    document_ = std::make_unique<CKorvDoc>();
    frame_ = std::make_unique<CMainFrame>(document_.get(), dialogs_);
    document_->OnNewDocument();
    frame_->show();
    if (!commandLine.modelPath.isEmpty()) {
        frame_->ImportFile(QFileInfo(commandLine.modelPath).absoluteFilePath());
    }
    return true;
}

}  // namespace korvane
