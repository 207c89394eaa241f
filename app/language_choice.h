#pragma once

#include <QString>

namespace korvane {

// Asks the user for the language when no settings file is found.
class LanguageChooser {
  public:
    virtual ~LanguageChooser() = default;
    // 1 for English; 0 for Japanese or when the user leaves without OK.
    virtual int ChooseLanguage() = 0;
};

class LanguageDialogChooser : public LanguageChooser {
  public:
    int ChooseLanguage() override;
};

// The language of this run, 1 English or 0 Japanese: from the settings file when it can be read,
// else from the chooser.
int SettleLanguage(const QString& settingsPath, LanguageChooser& chooser);

}  // namespace korvane
