#pragma once

#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

namespace korvane {

class CKorvDoc;

// The Connect Curve run on a thread of its own. While it runs it owns the document's objects: for
// each, head to tail, it deletes the patches, connects the curves, recomputes the handles and
// finds the patches again. The progress texts become the status text at a steady pace, not at
// every point. The run ends on the user-interface thread: converting is cleared, the views are
// redrawn and NotifyCode::NotifyConversionFinished is sent, all after the worker thread has ended.
class ConversionWorker : public QObject {
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
    bool WasCancelled() const { return stoppedEarly_; }
    // From any thread, while a run lasts or after it.
    Share Progress() const { return {pointsDone_.load(), pointsTotal_.load()}; }

  private:
    void Run(float limitAngle);
    void Finish();

    std::thread thread_;
    CKorvDoc* document_ = nullptr;
    std::atomic<bool> done_{true};
    std::atomic<bool> cancel_{false};
    std::atomic<bool> stoppedEarly_{false};
    std::atomic<std::int64_t> pointsDone_{0};
    std::atomic<std::int64_t> pointsTotal_{0};
    std::function<void()> onFinished_;
};

}  // namespace korvane
