#pragma once

#include <QString>

class QWidget;

namespace korvane {

// The file and message dialogs that commands show, behind one interface so that tests can answer
// them.
class UserDialogs {
  public:
    virtual ~UserDialogs() = default;

    // The chosen file, or an empty text when the user cancels. filter is "Name(*.ext)".
    virtual QString AskOpenFile(QWidget* owner, const QString& filter,
                                const QString& defaultSuffix) = 0;
    // A message with an OK button only.
    virtual void ShowMessage(QWidget* owner, const QString& text, const QString& caption) = 0;
};

class QtUserDialogs : public UserDialogs {
  public:
    QString AskOpenFile(QWidget* owner, const QString& filter,
                        const QString& defaultSuffix) override;
    void ShowMessage(QWidget* owner, const QString& text, const QString& caption) override;
};

}  // namespace korvane
