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

// What the program's command line asks for: the model files to import at start, in order, or
// the usage. --help is honoured wherever it stands before "--", even beside a wrong word.
struct CommandLine {
    bool help = false;
    QString error;  // the first wrong word, said in one line; empty when there is none
    QStringList modelPaths;

    bool valid() const { return error.isEmpty(); }
};

// arguments as QCoreApplication::arguments() gives them, the program first.
CommandLine ParseCommandLine(const QStringList& arguments);

// How the program is started and every kind of model it imports; the formats that assimp reads are
// asked of its helper program.
QString Usage();

// Starts the program and ends it in order: settles the language and puts Qt's own texts in it,
// builds the document and the main window, starts a new document, shows the window and imports
// the models of the command line in turn, as a drop does. Destroying it destroys the window
// first, then the document, which writes the settings file.
class Startup {
  public:
    Startup(CKorvApp& app, UserDialogs& dialogs, LanguageChooser& chooser);
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;
    ~Startup();

    // False when the program should end at once: the command line is unusable, and standard
    // error says why and how to use it. --help is answered before the application object exists,
    // since it needs no display.
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
