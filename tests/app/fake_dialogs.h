#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

#include "app/language_choice.h"
#include "app/user_dialogs.h"

namespace korvane::testing {

// Answers file dialogs from a queue (an empty answer is a cancel) and records every message.
class FakeDialogs : public UserDialogs {
  public:
    QString AskOpenFile(QWidget*, const QString& filter, const QString&) override {
        filters.append(filter);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    void ShowMessage(QWidget*, const QString& text, const QString& caption) override {
        messages.emplace_back(text, caption);
    }

    QStringList answers;
    QStringList filters;
    std::vector<std::pair<QString, QString>> messages;  // text, caption
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
