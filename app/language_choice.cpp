#include "app/language_choice.h"

#include "app/language_dialog.h"
#include "app/settings_file.h"

namespace korvane {

int LanguageDialogChooser::ChooseLanguage() {
    LanguageDialog dialog;
    if (dialog.exec() != QDialog::Accepted) {
        return 0;
    }
    return dialog.choice == 1 ? 1 : 0;
}

int SettleLanguage(const QString& settingsPath, LanguageChooser& chooser) {
    if (const std::optional<bool> english = ReadLanguageSetting(settingsPath)) {
        return *english ? 1 : 0;
    }
    // Written at once: a first run that is killed or crashes must not ask again.
    const int english = chooser.ChooseLanguage();
    WriteLanguageSetting(settingsPath, english != 0);
    return english;
}

}  // namespace korvane
