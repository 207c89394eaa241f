// The main frame's command handlers.
#include <QDir>
#include <QToolBar>

#include "app/export_command.h"
#include "app/import_commands.h"
#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/korv_view.h"
#include "app/main_frame.h"
#include "app/notify_codes.h"
#include "app/side_settings.h"
#include "app/user_dialogs.h"
#include "resources/recent_file_texts.h"
#include "view/camera_framing.h"

namespace korvane {
namespace {}  // namespace

void CMainFrame::OnFileNew() {
    if (!ConfirmDiscard()) {
        return;
    }
    document_->OnNewDocument();
    document_->UpdateAllViews();
}

void CMainFrame::OnImportMetasequoia() {
    Import([this] { return RunImportMetasequoia(dialogs_, this); });
}

void CMainFrame::OnImportLightWave() {
    Import([this] { return RunImportLightWave(dialogs_, this); });
}

// A file that is gone or cannot be opened is named with the reason, and one that is gone leaves
// the list.
void CMainFrame::OnOpenRecentFile(int index) {
    if (index >= recentFiles_.paths().size()) {
        return;
    }
    const QString path = recentFiles_.paths()[index];
    const RecentFileState state = CheckRecentFile(path);
    if (state == RecentFileState::kReadable) {
        ImportFile(path);
        return;
    }
    const MessageText message = state == RecentFileState::kGone
                                    ? RecentFileGoneMessage(IsEnglish())
                                    : RecentFileUnreadableMessage(IsEnglish());
    dialogs_.ShowMessage(this, QString::fromUtf8(message.text).arg(QDir::toNativeSeparators(path)),
                         QString::fromUtf8(message.caption));
    if (state == RecentFileState::kGone) {
        recentFiles_.Remove(path);
        UpdateRecentFileCommands();
    }
}

void CMainFrame::OnImport3dStudio() {
    Import([this] { return RunImport3dStudio(dialogs_, this); });
}

void CMainFrame::OnImportOtherFormats() {
    Import([this] { return RunImportOtherFormats(dialogs_, this); });
}

void CMainFrame::OnExportRuvoPatch() {
    RunExportRuvoPatch(dialogs_, this);
}

void CMainFrame::OnExportAnimationMaster() {
    RunExportAnimationMaster(dialogs_, this);
}

void CMainFrame::OnExportSPatch() {
    RunExportSPatch(dialogs_, this);
}

void CMainFrame::OnExportSurfaceMesh() {
    RunExportSurfaceMesh(dialogs_, this);
}

void CMainFrame::OnExportStep() {
    RunExportStep(dialogs_, this);
}

void CMainFrame::OnExportIges() {
    RunExportIges(dialogs_, this);
}

void CMainFrame::OnFrameAll() {
    FrameBounds(document_->camera, ControlPointBounds(document_->Objects()), view_->width(),
                view_->height());
    document_->UpdateDisplay();
}

void CMainFrame::OnExit() {
    close();
}

void CMainFrame::OnConnectCurve() {
    if (worker_.IsRunning()) {
        return;
    }
    float limitAngle = 0.0f;
    if (!dialogs_.AskLimitAngle(this, limitAngle)) {
        return;
    }
    GetApp()->Notify(NotifyCode::NotifyConversionStarted);
    worker_.Start(limitAngle, *document_, [this] { OnConversionFinished(); });
    UpdateCommands();
}

void CMainFrame::OnSetting() {
    SettingValues values = SettingValuesFrom(document_->displaySettings);
    if (!dialogs_.AskSettings(this, values)) {
        return;
    }
    ApplySettingValues(values, document_->displaySettings);
    document_->UpdateDisplay();
}

void CMainFrame::OnDocumentInfo() {
    dialogs_.ShowDocumentInfo(this, document_->Count());
}

void CMainFrame::OnAbout() {
    dialogs_.ShowAbout(this);
}

void CMainFrame::OnToggleToolbar() {
    toolBar_->setHidden(!toolBar_->isHidden());
}

void CMainFrame::OnToggleVertices() {
    document_->displaySettings.showVertices = !document_->displaySettings.showVertices;
    document_->UpdateDisplay();
}

void CMainFrame::OnToggleCurves() {
    document_->displaySettings.showCurves = !document_->displaySettings.showCurves;
    document_->UpdateDisplay();
}

void CMainFrame::OnToggleSurfaces() {
    document_->displaySettings.showSurfaces = !document_->displaySettings.showSurfaces;
    document_->UpdateDisplay();
}

// Kept for the next run, as the Connect Curve angle is.
void CMainFrame::OnToggleSmoothSurfaces() {
    DisplaySettings& shown = document_->displaySettings;
    shown.smoothSurfaces = !shown.smoothSurfaces;
    WriteSmoothSurfaces(GetApp()->settingsPath, shown.smoothSurfaces);
    document_->UpdateAllViews();
}

void CMainFrame::OnRotateMode() {
    GetApp()->navigationMode = NavigationMode::kRotate;
}

void CMainFrame::OnMoveMode() {
    GetApp()->navigationMode = NavigationMode::kMove;
}

void CMainFrame::OnZoomMode() {
    GetApp()->navigationMode = NavigationMode::kZoom;
}

}  // namespace korvane
