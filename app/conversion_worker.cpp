#include "app/conversion_worker.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <chrono>
#include <utility>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/notify_codes.h"
#include "app/thread_handoff.h"
#include "resources/message_texts.h"

namespace korvane {
namespace {

using Clock = std::chrono::steady_clock;
// Several texts a second: enough to watch, a tiny share of the steps the connector reports.
constexpr Clock::duration kPublishInterval = std::chrono::milliseconds(100);

// On the worker thread: passes at most one step per kPublishInterval on, the first of each
// object's joins and patch search, and every object's last step before it is done (then the one
// that says it is done). Per step it reads the clock only.
class ProgressThrottle {
  public:
    explicit ProgressThrottle(std::function<void(const ConnectProgress&)> publish)
        : publish_(std::move(publish)), published_(Clock::now() - kPublishInterval) {}

    void operator()(const ConnectProgress& progress) {
        if (progress.done == progress.total) {
            Flush();
            Publish(progress);
            return;
        }
        if (progress.done == 0 && (progress.objectIndex != latest_.objectIndex ||
                                   progress.step != latest_.step || !started_)) {
            Flush();
            started_ = true;
            latest_ = progress;
            published_ = Clock::now();
            Publish(progress);
            return;
        }
        latest_ = progress;
        const Clock::time_point now = Clock::now();
        if (now - published_ < kPublishInterval) {
            pending_ = true;
            return;
        }
        published_ = now;
        Publish(progress);
    }

    // The step held back last, as a cancelled run ends.
    void Flush() {
        if (pending_) {
            Publish(latest_);
        }
    }

  private:
    void Publish(const ConnectProgress& progress) {
        pending_ = false;
        publish_(progress);
    }

    std::function<void(const ConnectProgress&)> publish_;
    Clock::time_point published_;
    ConnectProgress latest_;
    bool pending_ = false;
    bool started_ = false;
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
    names_.clear();
    pointsBefore_.clear();
    std::int64_t total = 0;
    for (const PatchObject* object : document.Objects()) {
        names_.push_back(object->name);
        pointsBefore_.push_back(total);
        total += object->PointCount();
    }
    pointsTotal_ = total;
    share_ = {0, total};
    cancelJoins_ = false;
    cancelSearch_ = false;
    searching_ = false;
    showingSearch_ = false;
    cancelled_ = false;
    // Before the thread exists, so that no redraw can read the objects once it does.
    CKorvApp* app = GetApp();
    app->converting = 1;
    app->SetWaitCursor(true);
    emit document.objectsChanging();
    thread_ = std::thread([this, limitAngle] { Run(limitAngle); });
    return true;
}

void ConversionWorker::Wait() {
    // The end of a run is handed to this thread, so this thread keeps delivering events instead of
    // blocking in join.
    while (IsRunning()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
    }
}

void ConversionWorker::Cancel() {
    cancelJoins_ = true;
    if (searching_) {
        cancelSearch_ = true;
    }
}

bool ConversionWorker::Cancellable() const {
    return showingSearch_ ? !cancelSearch_.load() : !cancelJoins_.load();
}

void ConversionWorker::Run(float limitAngle) {
    ProgressThrottle throttle([this](const ConnectProgress& progress) { Publish(progress); });
    const ConnectReport report = document_->Connect(
        limitAngle,
        [this, &throttle](const ConnectProgress& progress) {
            searching_ = progress.step == ConnectStep::kFindingPatches;
            throttle(progress);
        },
        [this](ConnectStep step) {
            return (step == ConnectStep::kJoining ? cancelJoins_ : cancelSearch_)
                .load(std::memory_order_relaxed);
        });
    throttle.Flush();
    PostToThread(this, [this, cancelled = report.cancelled] { Finish(cancelled); });
}

// Through PostToThread rather than a queued signal: the sanitizer can follow its handoff, and the
// progress shows on the user-interface thread before any observer of Progressed hears of it.
void ConversionWorker::Publish(const ConnectProgress& progress) {
    const bool findingPatches = progress.step == ConnectStep::kFindingPatches;
    PostToThread(this, [this, progress, findingPatches] {
        ShowProgress(progress.objectIndex, findingPatches, progress.done, progress.total);
    });
    emit Progressed(progress.objectIndex, findingPatches, progress.done, progress.total);
}

void ConversionWorker::ShowProgress(int objectIndex, bool findingPatches, int done, int total) {
    showingSearch_ = findingPatches;
    // Once Cancel has stopped a step, its bar and text stand still: what is still queued is past.
    if ((findingPatches ? cancelSearch_ : cancelJoins_).load()) {
        emit ProgressShown();
        return;
    }
    const auto index = static_cast<std::size_t>(objectIndex);
    // A step's last progress says only that it is done: the text stays on the last point.
    if (done < total) {
        GetApp()->SetStatusText(findingPatches ? QString::fromUtf8(PatchSearchStatus(IsEnglish()))
                                                     .arg(QString::fromStdString(names_[index]))
                                                     .arg(done)
                                                     .arg(total)
                                                     .toStdString()
                                               : names_[index] + " " + std::to_string(done) +
                                                     " / " + std::to_string(total));
    }
    share_ = findingPatches ? Share{done, total} : Share{pointsBefore_[index] + done, pointsTotal_};
    emit ProgressShown();
}

// "Ready" and the enabled commands come only from here, after the worker thread has ended and
// every progress it sent has been shown.
void ConversionWorker::Finish(bool cancelled) {
    thread_.join();
    cancelled_ = cancelled;
    CKorvApp* app = GetApp();
    app->converting = 0;
    app->SetWaitCursor(false);
    document_->UpdateAllViews();
    app->Notify(NotifyCode::NotifyConversionFinished);
    if (onFinished_) {
        std::exchange(onFinished_, nullptr)();
    }
}

}  // namespace korvane
