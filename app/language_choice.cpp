#include "app/language_choice.h"

#include "app/language_dialog.h"
#include "app/settings_file.h"

namespace korvane {

Language LanguageDialogChooser::ChooseLanguage() {
    LanguageDialog dialog;
    return dialog.exec() == QDialog::Accepted ? dialog.choice : Language::kJapanese;
}

Language SettleLanguage(const QString& settingsPath, LanguageChooser& chooser) {
    if (const std::optional<bool> english = ReadLanguageSetting(settingsPath)) {
        return *english ? Language::kEnglish : Language::kJapanese;
    }
    // Written at once: a first run that is killed or crashes must not ask again.
    const Language language = chooser.ChooseLanguage();
    WriteLanguageSetting(settingsPath, language == Language::kEnglish);
    return language;
}

}  // namespace korvane
