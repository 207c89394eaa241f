#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>

#include <thread>

#include "app/korv_app.h"
#include "notify_recorder.h"

namespace korvane {
namespace {

using testing::NotifyRecorder;

TEST(KorvAppTest, FreshApplicationHoldsItsInitialValues) {
    CKorvApp* app = GetApp();
    ASSERT_NE(app, nullptr);
    EXPECT_FALSE(IsEnglish());
    EXPECT_EQ(GetDocument(), nullptr);
    EXPECT_EQ(app->StatusText(), "Ready");
    EXPECT_EQ(app->converting.load(), 0);
    EXPECT_EQ(app->navigationMode, NavigationMode::kMove);
    EXPECT_TRUE(app->notifyTargets.isEmpty());
}

TEST(KorvAppTest, NotifySkipsDestroyedTargetsAndKeepsTheOrder) {
    CKorvApp* app = GetApp();
    std::vector<int> order;
    NotifyRecorder first(&order, 1);
    auto* gone = new NotifyRecorder(&order, 2);
    NotifyRecorder last(&order, 3);
    app->RegisterNotifyTarget(&first);
    app->RegisterNotifyTarget(gone);
    app->RegisterNotifyTarget(&last);
    delete gone;

    app->Notify(NotifyCode::NotifyImported);
    app->Notify(NotifyCode::NotifyStatusChanged);
    EXPECT_EQ(order, (std::vector<int>{1, 3, 1, 3}));
    EXPECT_EQ(first.codes, (std::vector<NotifyCode>{NotifyCode::NotifyImported,
                                                    NotifyCode::NotifyStatusChanged}));
    EXPECT_EQ(last.codes, first.codes);
}

TEST(KorvAppTest, NotifyFromAWorkerIsHandledOnTheInterfaceThreadAndWaitedFor) {
    CKorvApp* app = GetApp();
    NotifyRecorder target;
    app->RegisterNotifyTarget(&target);
    bool returned = false;
    std::thread worker([&] {
        app->Notify(NotifyCode::NotifyConversionFinished);
        returned = true;
        EXPECT_EQ(target.codes, std::vector<NotifyCode>{NotifyCode::NotifyConversionFinished})
            << "handled before Notify returned";
    });
    while (!returned) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    worker.join();
    EXPECT_EQ(target.handledOn, app->thread());
}

TEST(KorvAppTest, StatusTextIsReplacedWhole) {
    CKorvApp* app = GetApp();
    std::thread writer([app] {
        for (int i = 0; i < 2000; ++i) {
            app->SetStatusText(i % 2 ? "Start" : "head 12 / 40");
        }
    });
    for (int i = 0; i < 2000; ++i) {
        const std::string text = app->StatusText();
        EXPECT_TRUE(text == "Start" || text == "head 12 / 40" || text == "Ready") << text;
    }
    writer.join();
}

TEST(KorvAppTest, WaitCursorIsShownOnceAndRestored) {
    CKorvApp* app = GetApp();
    app->SetWaitCursor(true);
    app->SetWaitCursor(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    app->SetWaitCursor(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "one restore undoes both calls";
    app->SetWaitCursor(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace korvane
