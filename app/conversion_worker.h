#pragma once

#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace korvane {

class CKorvDoc;

// The Connect Curve run on a thread of its own, through the document's Connect, which leaves every
// object it reaches with its handles and patches current. While it runs it owns the document's
// objects. Its progress and its end come to the user-interface thread as queued signals, progress
// at a steady pace rather than at every point; there they become the status text ("<name>
// <examined> / <total>") and the share of control points examined. The run ends on the
// user-interface thread, after every progress it sent: converting is cleared, the views are
// redrawn and NotifyCode::NotifyConversionFinished is sent, all after the worker thread has ended.
class ConversionWorker : public QObject {
    Q_OBJECT

  public:
    // Control points examined so far, of all objects' control points.
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

    // From any thread: the run stops after the join under way. What was joined stays, with its
    // handles and patches recomputed; objects not reached stay as they were. Forgotten at the
    // next Start.
    void Cancel() { cancel_ = true; }
    // Whether the last run stopped before every object was connected.
    bool WasCancelled() const { return cancelled_; }
    // From the user-interface thread: the share that the progress shown last tells.
    Share Progress() const { return share_; }

  signals:
    // From the worker thread, queued: control points examined of the object at objectIndex. At
    // most one every tenth of a second, and always each object's last before it is done.
    void Progressed(int objectIndex, int done, int total);
    // From the worker thread, queued, after every Progressed of the run.
    void Ended(bool cancelled);
    // On the user-interface thread, once a progress is the status text and the share.
    void ProgressShown();

  private:
    void Run(float limitAngle);
    void ShowProgress(int objectIndex, int done, int total);
    void Finish(bool cancelled);

    std::thread thread_;
    CKorvDoc* document_ = nullptr;
    std::atomic<bool> cancel_{false};
    bool cancelled_ = false;
    // Taken at Start: Connect changes neither names nor control points.
    std::vector<std::string> names_;
    std::vector<std::int64_t> pointsBefore_;  // of the objects ahead of each one
    Share share_;
    std::function<void()> onFinished_;
};

}  // namespace korvane
