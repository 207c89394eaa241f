#include "app/korv_doc.h"

#include <QThread>

#include "app/korv_app.h"
#include "app/notify_codes.h"
#include "app/settings_file.h"
#include "app/side_settings.h"

namespace korvane {

CKorvDoc::CKorvDoc(QObject* parent) : QObject(parent), Document(PatchUpkeep::kAtOnce) {
    ResetCamera();
    if (CKorvApp* app = GetApp()) {
        app->document = this;
        displaySettings.smoothSurfaces = ReadSmoothSurfaces(app->settingsPath).value_or(false);
    }
}

CKorvDoc::~CKorvDoc() {
    Clear();
    if (CKorvApp* app = GetApp()) {
        WriteLanguageSetting(app->settingsPath, app->useEnglish);
        if (app->document == this) {
            app->document = nullptr;
        }
    }
}

bool CKorvDoc::OnNewDocument() {
    title_.clear();
    Clear();
    modified = false;
    lastImportPath.clear();
    ResetCamera();
    if (CKorvApp* app = GetApp()) {
        app->Notify(NotifyCode::NotifyNewDocument);
    }
    return true;
}

void CKorvDoc::ResetCamera() {
    korvane::ResetCamera(camera);
}

void CKorvDoc::UpdateAllViews() {
    emit changed();
}

void CKorvDoc::UpdateDisplay() {
    emit displayChanged();
}

void CKorvDoc::BeforeObjectsChange() {
    // Connect runs on the conversion worker's thread, which sent the signal before it began.
    if (QThread::currentThread() == thread()) {
        emit objectsChanging();
    }
}

}  // namespace korvane
