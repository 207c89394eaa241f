#pragma once

#include <QMainWindow>

namespace korvane {

class CKorvDoc;
class CKorvView;
class UserDialogs;

// The main window: the 3D view and the File menu in the language of this run. Each command is a
// QAction whose objectName is its command id.
class CMainFrame : public QMainWindow {
    Q_OBJECT

  public:
    CMainFrame(CKorvDoc* document, UserDialogs& dialogs, QWidget* parent = nullptr);

    CKorvView* view() const { return view_; }

    void OnFileNew();
    void OnImportMetasequoia();
    void OnImportLightWave();

  private:
    void BuildMenus();

    CKorvDoc* document_;
    UserDialogs& dialogs_;
    CKorvView* view_;
};

}  // namespace korvane
