#pragma once

#include <QObject>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "view/draw_cache.h"
#include "view/surface_mesh.h"

namespace korvane {

// Samples the surfaces that a view cannot sample in the middle of a frame, on a thread of its
// own, so that the view goes on answering while it works. The objects must not change while it
// runs: whoever changes them calls Stop first. Its progress and its end come to the
// user-interface thread as queued signals; the meshes wait there for the view to upload them.
class SurfaceBuilder : public QObject {
    Q_OBJECT

  public:
    using Job = DrawCache::MissingSurfaces;
    struct Result {
        Job job;
        SurfaceMesh mesh;
    };

    SurfaceBuilder();
    SurfaceBuilder(const SurfaceBuilder&) = delete;
    SurfaceBuilder& operator=(const SurfaceBuilder&) = delete;
    ~SurfaceBuilder() override;

    // From the user-interface thread: samples every job's surfaces, dropping a run under way.
    void Start(std::vector<Job> jobs);
    // From the user-interface thread: true from Start until Finished has been handled.
    bool IsRunning() const { return thread_.joinable(); }
    const std::vector<Job>& Jobs() const { return jobs_; }
    // From any thread: the run stops within a few milliseconds and ends cancelled.
    void Cancel() { cancel_ = true; }
    // From the user-interface thread: ends a run at once, with Stopped instead of results and
    // Finished.
    void Stop();

    // Patches sampled so far, of all the jobs' patches.
    std::int64_t Done() const { return done_.load(std::memory_order_relaxed); }
    std::int64_t Total() const { return total_; }

    // From the user-interface thread, after Finished: the meshes of the run, in job order.
    std::vector<Result> TakeResults();

  signals:
    // As Start begins a run.
    void Started();
    // On the user-interface thread: at most one every tenth of a second while a run lasts.
    void Progressed();
    // On the user-interface thread, once the run's thread has ended.
    void Finished(bool cancelled);
    // From Stop, when it ended a run.
    void Stopped();

  private:
    void Run(std::uint64_t run);

    std::thread thread_;
    std::vector<Job> jobs_;
    std::vector<Result> results_;
    std::atomic<bool> cancel_{false};
    std::atomic<std::int64_t> done_{0};
    std::int64_t total_ = 0;
    std::uint64_t run_ = 0;  // the run whose queued end still counts
};

}  // namespace korvane
