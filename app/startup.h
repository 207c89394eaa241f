#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>

#include <memory>

namespace korvane {

class CKorvApp;
class CKorvDoc;
class CMainFrame;
class LanguageChooser;
class UserDialogs;

// What the program's command line asks for: at most one model file to import at start.
struct CommandLine {
    bool valid = true;
    QString error;      // one line, when not valid
    QString modelPath;  // empty for a plain start
};

// arguments as QCoreApplication::arguments() gives them, the program first.
CommandLine ParseCommandLine(const QStringList& arguments);

// Starts the program and ends it in order: settles the language and puts Qt's own texts in it,
// builds the document and the main window, starts a new document, shows the window and imports the
// model of the command line. Destroying it destroys the window first, then the document, which
// writes the settings file.
class Startup {
  public:
    Startup(CKorvApp& app, UserDialogs& dialogs, LanguageChooser& chooser);
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;
    ~Startup();

    // False when the program should end at once (an unusable command line).
    bool Run(const QStringList& arguments);

    CMainFrame* frame() const { return frame_.get(); }
    CKorvDoc* document() const { return document_.get(); }

  private:
    CKorvApp& app_;
    UserDialogs& dialogs_;
    LanguageChooser& chooser_;
    std::unique_ptr<QTranslator> qtTranslations_;
    std::unique_ptr<CKorvDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace korvane
