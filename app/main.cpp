#include "app/korv_app.h"
#include "app/language_choice.h"
#include "app/startup.h"
#include "app/user_dialogs.h"

#include <csignal>

int main(int argc, char** argv) {
    std::signal(SIGXFSZ, SIG_IGN);  // a file-size limit fails the write instead of the process
    korvane::CKorvApp app(argc, argv);
    korvane::QtUserDialogs dialogs;
    korvane::LanguageDialogChooser chooser;
    korvane::Startup startup(app, dialogs, chooser);
    if (!startup.Run(korvane::CKorvApp::arguments())) {
        return 1;
    }
    return korvane::CKorvApp::exec();
}
