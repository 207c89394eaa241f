#pragma once

#include <QString>

#include <optional>

#include "app/dialogs/connect_dialog.h"
#include "app/dialogs/setting_values.h"
#include "document/document_counts.h"

class QWidget;

namespace korvane {

// The file, message and modal dialogs that commands show, behind one interface so that tests can
// answer them.
class UserDialogs {
  public:
    virtual ~UserDialogs() = default;

    // The chosen file, or an empty text when the user cancels. filter is "Name(*.ext)". Both
    // file dialogs open in the folder of the file chosen last in either, also in an earlier run.
    virtual QString AskOpenFile(QWidget* owner, const QString& filter,
                                const QString& defaultSuffix) = 0;
    // The file to write, confirmed when it exists, or an empty text when the user cancels. The
    // dialog offers the name of suggestedPath when it is not empty, in the folder chosen last or,
    // before any, in suggestedPath's own.
    virtual QString AskSaveFile(QWidget* owner, const QString& filter, const QString& defaultSuffix,
                                const QString& suggestedPath) = 0;
    // A message with an OK button only.
    virtual void ShowMessage(QWidget* owner, const QString& text, const QString& caption) = 0;

    // The Connect dialog, starting at the angle last accepted, also in an earlier run: false on
    // Cancel, else the limit angle in degrees.
    virtual bool AskLimitAngle(QWidget* owner, float& limitAngle) = 0;
    // Whether connected curves that were not exported may be thrown away.
    virtual bool AskDiscardChanges(QWidget* owner) = 0;
    // The scale of a file read through assimp, preset with scale: false on Cancel, else scale
    // holds the new one.
    virtual bool AskImportScale(QWidget* owner, float& scale) = 0;
    // The Setting dialog, preset with values: false on Cancel, else values holds the new ones.
    virtual bool AskSettings(QWidget* owner, SettingValues& values) = 0;
    // The Document dialog, showing the document's counts.
    virtual void ShowDocumentInfo(QWidget* owner, const DocumentCounts& counts) = 0;
    virtual void ShowAbout(QWidget* owner) = 0;
};

class QtUserDialogs : public UserDialogs {
  public:
    QString AskOpenFile(QWidget* owner, const QString& filter,
                        const QString& defaultSuffix) override;
    QString AskSaveFile(QWidget* owner, const QString& filter, const QString& defaultSuffix,
                        const QString& suggestedPath) override;
    void ShowMessage(QWidget* owner, const QString& text, const QString& caption) override;
    bool AskLimitAngle(QWidget* owner, float& limitAngle) override;
    bool AskDiscardChanges(QWidget* owner) override;
    bool AskImportScale(QWidget* owner, float& scale) override;
    bool AskSettings(QWidget* owner, SettingValues& values) override;
    void ShowDocumentInfo(QWidget* owner, const DocumentCounts& counts) override;
    void ShowAbout(QWidget* owner) override;

  private:
    QString AskFile(QWidget* owner, const QString& filter, const QString& defaultSuffix, bool save,
                    const QString& suggestedPath);

    // Read from beside the settings file at their first use; kept here as well, so that a
    // settings folder that cannot be written still keeps them for the run.
    std::optional<float> lastLimitAngle_;
    std::optional<QString> lastFolder_;
};

}  // namespace korvane
