#pragma once

#include <QString>

#include "app/language.h"

namespace korvane {

// Asks the user for the language when no settings file is found.
class LanguageChooser {
  public:
    virtual ~LanguageChooser() = default;
    // Japanese also when the user leaves without OK.
    virtual Language ChooseLanguage() = 0;
};

class LanguageDialogChooser : public LanguageChooser {
  public:
    Language ChooseLanguage() override;
};

// The language of this run: from the settings file when it can be read, else from the chooser.
Language SettleLanguage(const QString& settingsPath, LanguageChooser& chooser);

}  // namespace korvane
