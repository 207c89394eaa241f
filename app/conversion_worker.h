#pragma once

#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "document/document.h"

namespace korvane {

class CKorvDoc;

// The Connect Curve run on a thread of its own, through the document's Connect, which leaves every
// object it reaches with its handles and patches current. While it runs it owns the document's
// objects. Its progress and its end come to the user-interface thread as queued signals, progress
// at a steady pace rather than at every point; there they become the status text ("<name>
// <examined> / <total>" while joining, PatchSearchStatus while finding an object's patches) and
// the share of the step under way. The run ends on the
// user-interface thread, after every progress it sent: converting is cleared, the views are
// redrawn and NotifyCode::NotifyConversionFinished is sent, all after the worker thread has ended.
class ConversionWorker : public QObject {
    Q_OBJECT

  public:
    // Of the joins, control points examined so far of all objects' control points; of a patch
    // search, how far the object's search is.
    struct Share {
        std::int64_t done = 0;
        std::int64_t total = 0;
    };

    ConversionWorker();
    ConversionWorker(const ConversionWorker&) = delete;
    ConversionWorker& operator=(const ConversionWorker&) = delete;
    // Waits for a run that is still going, so that nothing it uses goes away under it.
    ~ConversionWorker() override;

    // From the user-interface thread. onFinished runs on the user-interface thread once the run
    // has ended. False, and nothing starts, while a run lasts.
    bool Start(float limitAngle, CKorvDoc& document, std::function<void()> onFinished);
    // From the user-interface thread: true from Start until just before onFinished runs.
    bool IsRunning() const { return thread_.joinable(); }
    // Until the run has ended, delivering meanwhile what the worker hands to this thread.
    void Wait();

    // From any thread: stops the step under way. Stopped joins end the run after the object under
    // way: what was joined stays, with its handles recomputed, and its patch search runs, which
    // a second Cancel stops (leaving that object without patches). Objects not reached stay as
    // they were. Forgotten at the next Start.
    void Cancel();
    // From the user-interface thread: whether the step shown last can still be stopped.
    bool Cancellable() const;
    // Whether the last run stopped before every object was connected.
    bool WasCancelled() const { return cancelled_; }
    // From the user-interface thread: the share that the progress shown last tells.
    Share Progress() const { return share_; }

  signals:
    // From the worker thread, after the same progress was posted to the user-interface thread:
    // control points examined of the object at objectIndex. At most one every tenth of a second,
    // and always a step's first and each object's last joins before it is done. findingPatches
    // tells the patch search from the joins.
    void Progressed(int objectIndex, bool findingPatches, int done, int total);
    // On the user-interface thread, once a progress is the status text and the share.
    void ProgressShown();

  private:
    void Run(float limitAngle);
    void Publish(const ConnectProgress& progress);
    void ShowProgress(int objectIndex, bool findingPatches, int done, int total);
    void Finish(bool cancelled);

    std::thread thread_;
    CKorvDoc* document_ = nullptr;
    std::atomic<bool> cancelJoins_{false};
    std::atomic<bool> cancelSearch_{false};
    std::atomic<bool> searching_{false};  // the worker is in a patch search
    bool showingSearch_ = false;          // the progress shown last is of a patch search
    bool cancelled_ = false;
    // Taken at Start: Connect changes neither names nor control points.
    std::vector<std::string> names_;
    std::vector<std::int64_t> pointsBefore_;  // of the objects ahead of each one
    std::int64_t pointsTotal_ = 0;
    Share share_;
    std::function<void()> onFinished_;
};

}  // namespace korvane
