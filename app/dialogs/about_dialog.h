#pragma once

#include <QDialog>

namespace korvane {

// Shows the program's name and version.
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace korvane
