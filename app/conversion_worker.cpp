#include "app/conversion_worker.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <charconv>
#include <chrono>
#include <string>
#include <utility>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/notify_codes.h"
#include "app/thread_handoff.h"
#include "patch/curve_connector.h"
#include "patch/patch_builder.h"

namespace korvane {
namespace {

using Clock = std::chrono::steady_clock;
// Several texts a second: enough to watch, a tiny share of what the connector produces.
constexpr Clock::duration kPublishInterval = std::chrono::milliseconds(100);

// Passes the connector's progress on: at most one text per kPublishInterval becomes the status
// text, with the share of control points examined, and the last text of each object always does.
// Per text it copies into a buffer that keeps its capacity and reads the clock: no lock, no
// allocation.
class ProgressPublisher {
  public:
    ProgressPublisher(CKorvApp& app, std::atomic<std::int64_t>& pointsDone)
        : app_(app), pointsDone_(pointsDone), published_(Clock::now() - kPublishInterval) {
        latest_.reserve(64);
    }

    void BeginObject(const PatchObject& object) {
        nameLength_ = object.name.size();
        latest_.clear();
    }

    void operator()(const std::string& text) {
        latest_.assign(text);
        const Clock::time_point now = Clock::now();
        if (now - published_ < kPublishInterval) {
            pending_ = true;
            return;
        }
        published_ = now;
        Publish();
    }

    void EndObject(std::int64_t objectPoints, bool finished) {
        if (pending_) {
            Publish();
        }
        pointsBefore_ += finished ? objectPoints : Examined();
        pointsDone_ = pointsBefore_;
    }

  private:
    void Publish() {
        pending_ = false;
        app_.SetStatusText(latest_);
        pointsDone_ = pointsBefore_ + Examined();
    }

    // The count in "<name> <examined> / <total>".
    std::int64_t Examined() const {
        std::int64_t examined = 0;
        if (latest_.size() > nameLength_ + 1) {
            std::from_chars(latest_.data() + nameLength_ + 1, latest_.data() + latest_.size(),
                            examined);
        }
        return examined;
    }

    CKorvApp& app_;
    std::atomic<std::int64_t>& pointsDone_;
    Clock::time_point published_;
    std::string latest_;
    std::size_t nameLength_ = 0;
    std::int64_t pointsBefore_ = 0;
    bool pending_ = false;
};

}  // namespace

ConversionWorker::ConversionWorker() = default;

ConversionWorker::~ConversionWorker() {
    onFinished_ = nullptr;
    Wait();
}

bool ConversionWorker::Start(float limitAngle, CKorvDoc& document,
                             std::function<void()> onFinished) {
    if (IsRunning()) {
        return false;
    }
    document_ = &document;
    onFinished_ = std::move(onFinished);
    std::int64_t total = 0;
    for (const PatchObject* object : document.objects) {
        total += object->PointCount();
    }
    pointsTotal_ = total;
    pointsDone_ = 0;
    cancel_ = false;
    stoppedEarly_ = false;
    done_ = false;
    // Before the thread exists, so that no redraw can read the objects once it does.
    CKorvApp* app = GetApp();
    app->converting = 1;
    app->SetWaitCursor(1);
    thread_ = std::thread([this, limitAngle] { Run(limitAngle); });
    return true;
}

void ConversionWorker::Wait() {
    // The end of a run is handed to this thread, so this thread keeps delivering events instead of
    // blocking in join.
    while (!done_) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
    }
    Finish();
}

void ConversionWorker::Run(float limitAngle) {
    ProgressPublisher publisher(*GetApp(), pointsDone_);
    const ProgressReceiver progress = [&publisher](const std::string& text) { publisher(text); };
    const CancelCheck cancelled = [this] { return cancel_.load(std::memory_order_relaxed); };
    bool stopped = false;
    for (PatchObject* object : document_->objects) {
        if (cancel_) {
            stopped = true;
            break;
        }
        object->DeletePatches();
        publisher.BeginObject(*object);
        const bool finished = ConnectCurves(*object, limitAngle, progress, cancelled);
        publisher.EndObject(object->PointCount(), finished);
        // A cancelled object keeps its joins, so it gets handles and patches like a finished one.
        ComputeHandles(*object);
        DetectPatches(*object);
        if (!finished) {
            stopped = true;
            break;
        }
    }
    stoppedEarly_ = stopped;
    done_ = true;
    PostToThread(this, [this] { Finish(); });
}

// "Ready" and the enabled commands come only from here, after the worker thread has ended.
void ConversionWorker::Finish() {
    if (!done_ || !thread_.joinable()) {
        return;
    }
    thread_.join();
    CKorvApp* app = GetApp();
    app->converting = 0;
    app->SetWaitCursor(0);
    document_->UpdateAllViews();
    app->Notify(NotifyCode::NotifyConversionFinished);
    if (onFinished_) {
        std::exchange(onFinished_, nullptr)();
    }
}

}  // namespace korvane
