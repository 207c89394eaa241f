#include "app/surface_builder.h"

#include <QMetaObject>

#include <chrono>
#include <memory>
#include <utility>

#include "app/thread_handoff.h"

namespace korvane {
namespace {

using Clock = std::chrono::steady_clock;
constexpr Clock::duration kPublishInterval = std::chrono::milliseconds(100);

}  // namespace

SurfaceBuilder::SurfaceBuilder() = default;

SurfaceBuilder::~SurfaceBuilder() {
    Stop();
}

void SurfaceBuilder::Start(std::vector<Job> jobs) {
    Stop();
    jobs_ = std::move(jobs);
    results_.clear();
    total_ = 0;
    for (const Job& job : jobs_) {
        total_ += static_cast<std::int64_t>(job.object->Patches().size());
    }
    done_ = 0;
    cancel_ = false;
    const std::uint64_t run = ++run_;
    thread_ = std::thread([this, run] { Run(run); });
    emit Started();
}

void SurfaceBuilder::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    cancel_ = true;
    thread_.join();
    // The end the thread queued no longer counts.
    ++run_;
    results_.clear();
    emit Stopped();
}

void SurfaceBuilder::Run(std::uint64_t run) {
    Clock::time_point published = Clock::now();
    std::int64_t before = 0;
    const auto keepGoing = [&](std::size_t patches) {
        done_.store(before + static_cast<std::int64_t>(patches), std::memory_order_relaxed);
        const Clock::time_point now = Clock::now();
        if (now - published >= kPublishInterval) {
            published = now;
            QMetaObject::invokeMethod(
                this,
                [this, run] {
                    if (run == run_) {
                        emit Progressed();
                    }
                },
                Qt::QueuedConnection);
        }
        return !cancel_.load(std::memory_order_relaxed);
    };
    auto results = std::make_shared<std::vector<Result>>();
    for (const Job& job : jobs_) {
        if (cancel_) {
            break;
        }
        SurfaceMesh mesh = job.layer == DrawLayer::kSurfaces
                               ? NetSurfaceMesh(*job.object, job.resolution, keepGoing)
                               : SmoothSurfaceMesh(*job.object, job.resolution);
        if (!cancel_) {
            AddStandIn(mesh);
        }
        before += static_cast<std::int64_t>(job.object->Patches().size());
        done_.store(before, std::memory_order_relaxed);
        results->push_back({job, std::move(mesh)});
    }
    const bool cancelled = cancel_;
    handoff_detail::Release(this);
    QMetaObject::invokeMethod(
        this,
        [this, run, cancelled, results] {
            handoff_detail::Acquire(this);
            if (run != run_) {
                return;
            }
            thread_.join();
            if (!cancelled) {
                results_ = std::move(*results);
            }
            emit Finished(cancelled);
        },
        Qt::QueuedConnection);
}

std::vector<SurfaceBuilder::Result> SurfaceBuilder::TakeResults() {
    return std::exchange(results_, {});
}

}  // namespace korvane
