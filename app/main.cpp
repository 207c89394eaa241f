#include <QString>
#include <QStringList>

#include <csignal>
#include <cstdio>

#include "app/korv_app.h"
#include "app/language_choice.h"
#include "app/startup.h"
#include "app/user_dialogs.h"

int main(int argc, char** argv) {
    std::signal(SIGXFSZ, SIG_IGN);  // a file-size limit fails the write instead of the process
    // The usage needs no display, which the application object does: it is answered first.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    if (korvane::ParseCommandLine(arguments).help) {
        std::fputs(korvane::Usage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    korvane::CKorvApp app(argc, argv);
    korvane::QtUserDialogs dialogs;
    korvane::LanguageDialogChooser chooser;
    korvane::Startup startup(app, dialogs, chooser);
    if (!startup.Run(korvane::CKorvApp::arguments())) {
        return 1;
    }
    return korvane::CKorvApp::exec();
}
