#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

#include "app/language_choice.h"
#include "app/user_dialogs.h"

namespace korvane::testing {

// Answers file dialogs from a queue (an empty answer is a cancel), the Connect and Setting
// dialogs from what the test set (nothing set is a Cancel), and records every message and every
// dialog shown.
class FakeDialogs : public UserDialogs {
  public:
    QString AskOpenFile(QWidget*, const QString& filter, const QString&) override {
        filters.append(filter);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QString AskSaveFile(QWidget*, const QString& filter, const QString& defaultSuffix,
                        const QString& suggestedPath) override {
        filters.append(filter);
        suffixes.append(defaultSuffix);
        suggestedPaths.append(suggestedPath);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    void ShowMessage(QWidget*, const QString& text, const QString& caption) override {
        messages.emplace_back(text, caption);
    }
    bool AskLimitAngle(QWidget*, float& angle) override {
        ++limitAngleAsked;
        if (!limitAngle) {
            return false;
        }
        angle = *limitAngle;
        return true;
    }
    bool AskImportScale(QWidget*, float& scale) override {
        presetScale = scale;
        if (!importScale) {
            return false;
        }
        scale = *importScale;
        return true;
    }
    bool AskDiscardChanges(QWidget*) override {
        ++discardAsked;
        return discard;
    }
    bool AskSettings(QWidget*, SettingValues& values) override {
        presetSettings = values;
        if (!settings) {
            return false;
        }
        values = *settings;
        return true;
    }
    void ShowDocumentInfo(QWidget*, const DocumentCounts&) override { ++documentInfoShown; }
    void ShowAbout(QWidget*) override { ++aboutShown; }

    QStringList answers;
    QStringList filters;
    QStringList suffixes;
    QStringList suggestedPaths;
    std::optional<float> importScale;  // the answer to the scale question; none is a Cancel
    std::optional<float> presetScale;
    bool discard = false;  // the answer to "discard the connected curves?"
    int discardAsked = 0;
    std::vector<std::pair<QString, QString>> messages;  // text, caption
    std::optional<float> limitAngle;
    std::optional<SettingValues> settings;
    std::optional<SettingValues> presetSettings;
    int limitAngleAsked = 0;
    int documentInfoShown = 0;
    int aboutShown = 0;
};

class FakeChooser : public LanguageChooser {
  public:
    explicit FakeChooser(int answer) : answer_(answer) {}
    int ChooseLanguage() override {
        ++asked;
        return answer_;
    }

    int asked = 0;

  private:
    int answer_;
};

}  // namespace korvane::testing
