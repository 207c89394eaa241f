#pragma once

#include <QDialog>

#include <cstdint>

class QButtonGroup;

namespace korvane {

// Asks for the user-interface language at the first start. The choice starts on Japanese; OK
// reads the pressed button into it, Escape leaves it.
class LanguageDialog : public QDialog {
    Q_OBJECT

  public:
    explicit LanguageDialog(QWidget* parent = nullptr);

    void accept() override;

    std::int32_t choice = 0;  // 0 Japanese, 1 English

  private:
    QButtonGroup* group_;
};

}  // namespace korvane
