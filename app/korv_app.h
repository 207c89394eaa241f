#pragma once

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "app/notify_codes.h"
#include "view/mouse_navigator.h"

namespace korvane {

class CKorvDoc;

// The one application object: the values the whole program shares and the services that every
// part reaches without a window at hand.
class CKorvApp : public QApplication {
    Q_OBJECT

  public:
    CKorvApp(int& argc, char** argv);
    ~CKorvApp() override;

    // Sends the notification to every registered target that still exists, in registration order,
    // and returns after all have handled it; from another thread it waits for the
    // user-interface thread to deliver it.
    void Notify(NotifyCode code);
    void RegisterNotifyTarget(QObject* target);

    // The text the status field shows at its next refresh; safe from any thread.
    void SetStatusText(const std::string& text);
    std::string StatusText() const;
    // Called with every text SetStatusText receives, on the thread that set it, after the text is
    // in place; tests record the sequence of texts with it.
    void SetStatusTextObserver(std::function<void(const std::string&)> observer);

    // The hourglass while shown, else the arrow.
    void SetWaitCursor(bool shown);

    // The settings file beside the executable; replaced by tests.
    QString settingsPath;

    QList<QPointer<QObject>> notifyTargets;
    CKorvDoc* document = nullptr;
    std::atomic<std::int32_t> converting{0};  // 1 while a Connect Curve run owns the objects
    bool useEnglish = false;
    NavigationMode navigationMode = NavigationMode::kMove;  // what a plain left drag does

  private:
    mutable std::mutex statusMutex_;
    std::string statusText_ = "Ready";
    std::function<void(const std::string&)> statusObserver_;
    bool waitCursorShown_ = false;
};

CKorvApp* GetApp();
CKorvDoc* GetDocument();
bool IsEnglish();

}  // namespace korvane
