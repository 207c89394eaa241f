#include "app/korv_app.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QThread>

#include <utility>

#include "app/notify_codes.h"
#include "app/thread_handoff.h"
#include "export/cad/cad_export.h"

namespace korvane {
namespace {

CKorvApp* theApp = nullptr;

void Deliver(QObject* target, NotifyCode code) {
    NotifyEvent event(code);
    QCoreApplication::sendEvent(target, &event);
}

}  // namespace

CKorvApp::CKorvApp(int& argc, char** argv) : QApplication(argc, argv) {
    settingsPath = QDir(applicationDirPath()).filePath(QStringLiteral("k_r_v.ini"));
    theApp = this;
    InstallCadWriters();
}

CKorvApp::~CKorvApp() {
    notifyTargets.clear();
    if (waitCursorShown_) {
        restoreOverrideCursor();
    }
    theApp = nullptr;
}

void CKorvApp::Notify(NotifyCode code) {
    const QList<QPointer<QObject>> targets = notifyTargets;
    for (const QPointer<QObject>& target : targets) {
        if (target.isNull()) {
            continue;
        }
        if (QThread::currentThread() == target->thread()) {
            Deliver(target.data(), code);
        } else {
            QObject* receiver = target.data();
            CallOnThreadAndWait(receiver, [receiver, code] { Deliver(receiver, code); });
        }
    }
}

void CKorvApp::RegisterNotifyTarget(QObject* target) {
    notifyTargets.append(QPointer(target));
}

void CKorvApp::SetStatusText(const std::string& text) {
    std::function<void(const std::string&)> observer;
    {
        std::lock_guard lock(statusMutex_);
        statusText_ = text;
        observer = statusObserver_;
    }
    if (observer) {
        observer(text);
    }
}

void CKorvApp::SetStatusTextObserver(std::function<void(const std::string&)> observer) {
    std::lock_guard lock(statusMutex_);
    statusObserver_ = std::move(observer);
}

std::string CKorvApp::StatusText() const {
    std::lock_guard lock(statusMutex_);
    return statusText_;
}

void CKorvApp::SetWaitCursor(bool shown) {
    if (QThread::currentThread() != thread()) {
        PostToThread(this, [this, shown] { SetWaitCursor(shown); });
        return;
    }
    // Override cursors stack in Qt: keep at most one of ours.
    if (shown && !waitCursorShown_) {
        setOverrideCursor(QCursor(Qt::WaitCursor));
        waitCursorShown_ = true;
    } else if (!shown && waitCursorShown_) {
        restoreOverrideCursor();
        waitCursorShown_ = false;
    }
}

CKorvApp* GetApp() {
    return theApp;
}

CKorvDoc* GetDocument() {
    return theApp != nullptr ? theApp->document : nullptr;
}

bool IsEnglish() {
    return theApp != nullptr && theApp->useEnglish;
}

}  // namespace korvane
