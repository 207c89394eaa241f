#pragma once

#include <QDialog>

#include "app/language.h"

class QButtonGroup;

namespace korvane {

// Asks for the user-interface language at the first start. The choice starts on Japanese; OK
// reads the pressed button into it, Escape leaves it.
class LanguageDialog : public QDialog {
    Q_OBJECT

  public:
    explicit LanguageDialog(QWidget* parent = nullptr);

    void accept() override;

    Language choice = Language::kJapanese;

  private:
    QButtonGroup* group_;
};

}  // namespace korvane
