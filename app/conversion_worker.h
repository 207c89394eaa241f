#pragma once

#include <QObject>

#include <atomic>
#include <functional>
#include <thread>

namespace korvane {

// The Connect Curve run on a thread of its own. While it runs it owns the document's objects: for
// each, head to tail, it deletes the patches, connects the curves with the progress texts as the
// status text, and recomputes the handles. Then it clears converting, has the views redrawn and
// sends NotifyConversionFinished, both carried out by the user-interface thread.
class ConversionWorker {
  public:
    ConversionWorker();
    ConversionWorker(const ConversionWorker&) = delete;
    ConversionWorker& operator=(const ConversionWorker&) = delete;
    // Waits for a run that is still going, so that nothing it uses goes away under it.
    ~ConversionWorker();

    // From the user-interface thread. limitAngle (degrees) is read once, on the worker thread.
    // onFinished runs on the user-interface thread once the run has ended. False, and nothing
    // starts, while a run lasts.
    bool Start(const float* limitAngle, std::function<void()> onFinished);
    // From the user-interface thread: true from Start until just before onFinished runs.
    bool IsRunning() const { return thread_.joinable(); }
    // Until the run has ended, delivering meanwhile what the worker hands to this thread.
    void Wait();

  private:
    void Run(const float* limitAngle);
    void Finish();

    std::thread thread_;
    std::atomic<bool> done_{true};
    std::function<void()> onFinished_;
    QObject receiver_;  // where the end of a run is delivered; lives on the user-interface thread
};

}  // namespace korvane
