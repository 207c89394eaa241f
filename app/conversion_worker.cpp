#include "app/conversion_worker.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <utility>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/notify_codes.h"
#include "app/thread_handoff.h"
#include "patch/curve_connector.h"
#include "patch/patch_builder.h"

namespace korvane {

ConversionWorker::ConversionWorker() = default;

ConversionWorker::~ConversionWorker() {
    onFinished_ = nullptr;
    Wait();
}

bool ConversionWorker::Start(const float* limitAngle, std::function<void()> onFinished) {
    if (IsRunning()) {
        return false;
    }
    onFinished_ = std::move(onFinished);
    done_ = false;
    thread_ = std::thread([this, limitAngle] { Run(limitAngle); });
    return true;
}

void ConversionWorker::Wait() {
    // The worker's last steps wait for this thread to carry them out, so this thread keeps
    // delivering them instead of blocking in join.
    while (!done_) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
    }
    Finish();
}

void ConversionWorker::Run(const float* limitAngle) {
    CKorvApp* app = GetApp();
    CKorvDoc* document = GetDocument();
    app->converting = 1;
    CurveConnector connector;
    app->SetWaitCursor(1);
    const float limit = *limitAngle;
    const auto progress = [app](const std::string& text) { app->SetStatusText(text); };
    for (PatchObject* object : document->objects) {
        object->DeletePatches();
        connector.ConnectCurves(*object, limit, progress);
        ComputeHandles(*object);
    }
    app->SetWaitCursor(0);
    app->converting = 0;
    CallOnThreadAndWait(document, [document] { document->UpdateAllViews(); });
    app->Notify(NotifyConversionFinished);
    done_ = true;
    QMetaObject::invokeMethod(
        &receiver_, [this] { Finish(); }, Qt::QueuedConnection);
}

void ConversionWorker::Finish() {
    if (!done_ || !thread_.joinable()) {
        return;
    }
    thread_.join();
    if (onFinished_) {
        std::exchange(onFinished_, nullptr)();
    }
}

}  // namespace korvane
