#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/conversion_worker.h"
#include "app/dialogs/document_info_dialog.h"
#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/notify_codes.h"
#include "app/status_text_bar.h"
#include "app/thread_handoff.h"
#include "model_files.h"
#include "notify_recorder.h"
#include "patch/patch_builder.h"
#include "patch/patch_invariants.h"
#include "resources/message_texts.h"
#include "status_recorder.h"

namespace korvane {
namespace {

using testing::GridModel;
using testing::NotifyRecorder;
using testing::StatusRecorder;
using testing::WriteFile;

// The status field and a listener registered after it, a document and a worker, as the main
// window holds them, without the window.
class ConversionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GetApp()->RegisterNotifyTarget(&status_);
        GetApp()->RegisterNotifyTarget(&listener_);
        status_.Follow(worker_.get());
    }

    void Import(std::initializer_list<const char*> names) {
        const QString path = folder_.filePath(QStringLiteral("grids.mqo"));
        ASSERT_TRUE(WriteFile(path, GridModel(names)));
        ASSERT_EQ(document_.Import(QFile::encodeName(path).toStdString(), {}).status,
                  ImportStatus::kImported);
    }

    // What the Connect Curve command does after its dialog, then the wait for the end.
    void Convert(float limitAngle) {
        GetApp()->Notify(NotifyCode::NotifyConversionStarted);
        ASSERT_TRUE(worker_->Start(limitAngle, document_, [this] { ++finished_; }));
        EXPECT_TRUE(worker_->IsRunning());
        worker_->Wait();
    }

    QTemporaryDir folder_;
    CKorvDoc document_;
    StatusFieldDialog status_;
    NotifyRecorder listener_;
    StatusRecorder recorder_;
    std::unique_ptr<ConversionWorker> worker_ = std::make_unique<ConversionWorker>();
    int finished_ = 0;
};

// The patch search's status text of the object, up to its numbers.
std::string SearchTextStart(const std::string& name) {
    const QString text =
        QString::fromUtf8(PatchSearchStatus(IsEnglish())).arg(QString::fromStdString(name));
    return text.left(text.indexOf(QStringLiteral("%2"))).toStdString();
}

// The texts of one object's progress: its name, then "<count> / <total>" with the count rising
// from 0 to total - 1; then its patch search, from 0.
void ExpectProgressOf(const std::vector<std::string>& texts, size_t& at, const std::string& name,
                      int total) {
    const std::string suffix = " / " + std::to_string(total);
    int last = -1;
    for (; at < texts.size() && texts[at].starts_with(name + " "); ++at) {
        const std::string& text = texts[at];
        ASSERT_TRUE(text.ends_with(suffix)) << text;
        const int count = std::stoi(text.substr(name.size() + 1));
        EXPECT_GE(count, last) << text;
        last = count;
    }
    EXPECT_EQ(last, total - 1) << name << " did not reach its last point";
    const std::string search = SearchTextStart(name);
    const size_t searchFrom = at;
    for (; at < texts.size() && texts[at].starts_with(search); ++at) {
    }
    EXPECT_GT(at, searchFrom) << name << " showed no patch search";
}

TEST_F(ConversionTest, ThreeObjectsGoFromStartThroughTheirProgressInListOrderToReady) {
    Import({"head", "arm", "leg"});
    QSignalSpy redraws(&document_, &CKorvDoc::changed);
    Convert(150.0f);

    const std::vector<std::string> texts = recorder_.texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts.front(), "Start");
    size_t at = 1;
    for (const char* name : {"head", "arm", "leg"}) {
        ExpectProgressOf(texts, at, name, 9);
    }
    ASSERT_EQ(at + 1, texts.size()) << "only Ready may follow the last object's progress";
    EXPECT_EQ(texts.back(), "Ready");

    EXPECT_EQ(status_.field()->text(), QStringLiteral("Ready"));
    EXPECT_FALSE(status_.statusRunning());
    EXPECT_EQ(GetApp()->converting.load(), 0);
    EXPECT_EQ(finished_, 1);
    EXPECT_FALSE(worker_->IsRunning());
    EXPECT_EQ(redraws.count(), 1);
    EXPECT_EQ(listener_.codes, (std::vector<NotifyCode>{NotifyCode::NotifyConversionStarted,
                                                        NotifyCode::NotifyConversionFinished}));
    EXPECT_EQ(listener_.handledOn, QThread::currentThread());
    // The straight rows and columns of each grid are joined: three lines each way, around the
    // same four patches.
    for (const PatchObject* object : document_.Objects()) {
        EXPECT_EQ(object->SplineCount(), 6) << object->name;
        EXPECT_TRUE(object->PatchesValid()) << object->name;
        EXPECT_EQ(object->Patches().size(), 4u) << object->name;
    }
}

TEST_F(ConversionTest, NarrowerBendsThanTheLimitStayApart) {
    Import({"grid"});
    Convert(181.0f);
    EXPECT_EQ(document_.Objects().GetHead()->SplineCount(), 12);
    EXPECT_EQ(recorder_.texts().back(), "Ready");
}

TEST_F(ConversionTest, AnEmptyDocumentGoesFromStartStraightToReady) {
    QSignalSpy redraws(&document_, &CKorvDoc::changed);
    Convert(100.0f);
    EXPECT_EQ(recorder_.texts(), (std::vector<std::string>{"Start", "Ready"}));
    EXPECT_EQ(redraws.count(), 1);
    EXPECT_EQ(finished_, 1);
}

TEST_F(ConversionTest, DocumentDialogCountsThePatchesOfARun) {
    Import({"a", "b", "c"});
    Convert(150.0f);
    const DocumentInfoDialog dialog(document_.Count(), true);
    const auto field = [&dialog](int id) {
        return dialog.findChild<QLineEdit*>(QString::number(id))->text();
    };
    EXPECT_EQ(field(1001), QStringLiteral("3"));
    EXPECT_EQ(field(1003), QStringLiteral("0"));
    EXPECT_EQ(field(1010), QString::number(3 * 4));
}

TEST_F(ConversionTest, ASecondStartWhileRunningIsRefused) {
    Import({"grid"});
    GetApp()->Notify(NotifyCode::NotifyConversionStarted);
    ASSERT_TRUE(worker_->Start(150.0f, document_, [this] { ++finished_; }));
    EXPECT_FALSE(worker_->Start(150.0f, document_, [this] { finished_ += 10; }));
    worker_->Wait();
    EXPECT_EQ(finished_, 1);
}

TEST_F(ConversionTest, DestroyingTheWorkerDuringARunWaitsForItsEnd) {
    Import({"a", "b", "c", "d", "e", "f"});
    GetApp()->Notify(NotifyCode::NotifyConversionStarted);
    ASSERT_TRUE(worker_->Start(150.0f, document_, [this] { ++finished_; }));
    worker_.reset();
    EXPECT_EQ(GetApp()->converting.load(), 0);
    EXPECT_EQ(finished_, 0) << "a worker that is going away calls back no one";
    EXPECT_EQ(listener_.codes.back(), NotifyCode::NotifyConversionFinished);
    for (const PatchObject* object : document_.Objects()) {
        EXPECT_EQ(object->SplineCount(), 6) << object->name;
    }
}

// Records every text the status field shows. The worker waits at every progress it sends until
// this thread has shown it, so that every object's progress shows during the run however fast the
// machine; onProgress runs on this thread as each progress text shows.
class FieldWatch {
  public:
    FieldWatch(StatusFieldDialog& status, ConversionWorker& worker,
               std::function<void(const QString&)> onProgress = {}) {
        QObject::connect(status.field(), &QLineEdit::textChanged, &context_,
                         [=, this](const QString& text) {
                             if (text.contains(QStringLiteral(" / ")) && onProgress) {
                                 onProgress(text);
                             }
                             shown_.push_back(text.toStdString());
                         });
        // On the worker thread, which waits for a call queued behind the worker's own showing of
        // the same progress: through CallOnThreadAndWait, whose handoff the thread checks follow.
        QObject::connect(
            &worker, &ConversionWorker::Progressed, &context_,
            [this](int, bool, int, int) { CallOnThreadAndWait(&context_, [] {}); },
            Qt::DirectConnection);
    }

    const std::vector<std::string>& shown() const { return shown_; }

  private:
    std::vector<std::string> shown_;
    QObject context_;  // first to go, taking its connections with it
};

TEST_F(ConversionTest, TheFieldShowsEachObjectsProgressAndReadyOnlyOnceTheRunHasEnded) {
    Import({"head", "arm", "leg"});
    FieldWatch watch(status_, *worker_,
                     [this](const QString&) { EXPECT_FALSE(status_.progressBar()->isHidden()); });
    Convert(150.0f);
    const std::vector<std::string> shown = watch.shown();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), "Start");
    EXPECT_EQ(shown.back(), "Ready");
    EXPECT_EQ(std::count(shown.begin(), shown.end(), "Ready"), 1);
    auto at = shown.begin();
    for (const std::string name : {"head ", "arm ", "leg "}) {
        at = std::find_if(at, shown.end(),
                          [&](const std::string& t) { return t.starts_with(name); });
        EXPECT_NE(at, shown.end()) << name << "never showed, or out of order";
    }
    EXPECT_EQ(status_.progressBar()->value(), status_.progressBar()->maximum());
    EXPECT_TRUE(status_.progressBar()->isHidden());
    EXPECT_TRUE(status_.cancelButton()->isHidden());
}

// Cancel as the first progress text shows: the joins stop after the first one, at the second
// point of the first grid, and the later objects are not reached. The patch search over the
// stopped object's curves then runs as a step of its own, with Cancel usable again: left alone it
// finds the patches as after a finished run; stopped too, it leaves that object without patches.
TEST_F(ConversionTest, CancelKeepsTheJoinsSoFarInASoundNetworkAndSaysCancelled) {
    const struct {
        bool stopSearch;
        std::vector<std::size_t> patches;
    } cases[] = {{false, {4, 4, 4}}, {true, {0, 4, 4}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stopSearch ? "search stopped" : "search left alone");
        document_.Clear();
        Import({"head", "arm", "leg"});
        const QString searchStart = QString::fromStdString(SearchTextStart("head"));
        int clicks = 0;
        bool searchShown = false;
        FieldWatch watch(status_, *worker_, [&](const QString& text) {
            if (text.startsWith(searchStart)) {
                searchShown = true;
                EXPECT_TRUE(status_.cancelButton()->isEnabled()) << "the search can be stopped";
                if (!c.stopSearch) {
                    return;
                }
            } else if (clicks > 0) {
                return;
            }
            ++clicks;
            status_.cancelButton()->click();
            EXPECT_FALSE(status_.cancelButton()->isEnabled());
        });
        Convert(150.0f);
        EXPECT_TRUE(searchShown);
        EXPECT_EQ(clicks, c.stopSearch ? 2 : 1);
        const std::vector<std::string> shown = watch.shown();
        EXPECT_EQ(shown.back(), ConversionCancelledStatus(IsEnglish()));
        EXPECT_EQ(std::count(shown.begin(), shown.end(), "Ready"), 0);
        EXPECT_TRUE(worker_->WasCancelled());
        std::vector<int> splines;
        std::vector<std::size_t> patches;
        for (PatchObject* object : document_.Objects()) {
            splines.push_back(object->SplineCount());
            EXPECT_EQ(object->PatchesValid(), !c.stopSearch || object->name != "head");
            patches.push_back(object->Patches().size());
            const auto problems = CheckPatchInvariants(*object);
            EXPECT_TRUE(problems.empty()) << problems.front();
        }
        EXPECT_EQ(splines, (std::vector<int>{11, 12, 12}));
        EXPECT_EQ(patches, c.patches);
        PatchObject& head = *document_.Objects().GetHead();
        // The joined object's handles are what ComputeHandles gives, not the new nodes' zeros.
        std::vector<float> handles[2];
        for (std::vector<float>& all : handles) {
            for (const SplineNode& node : head.Nodes()) {
                all.insert(all.end(), {node.handleIn.x, node.handleIn.y, node.handleIn.z,
                                       node.handleOut.x, node.handleOut.y, node.handleOut.z});
            }
            ComputeHandles(head);
        }
        EXPECT_EQ(handles[0], handles[1]);
    }
}

// A changed status is shown as it is; a new document and an import start over from "Ready".
TEST(StatusFieldTest, ShowsTheStatusTextAndReadyOnNewDocumentAndImport) {
    StatusFieldDialog status;
    status.resize(200, 30);
    status.show();
    EXPECT_EQ(status.field()->objectName(), QStringLiteral("1001"));
    EXPECT_TRUE(status.field()->isReadOnly());
    EXPECT_EQ(status.field()->geometry(), QRect(2, 2, 196, 26));
    GetApp()->RegisterNotifyTarget(&status);
    for (const NotifyCode code : {NotifyCode::NotifyNewDocument, NotifyCode::NotifyImported}) {
        GetApp()->SetStatusText("Wrote 1 object to a.rvp");
        GetApp()->Notify(NotifyCode::NotifyStatusChanged);
        EXPECT_EQ(status.field()->text(), QStringLiteral("Wrote 1 object to a.rvp"));
        GetApp()->Notify(code);
        EXPECT_EQ(status.field()->text(), QStringLiteral("Ready")) << static_cast<int>(code);
        EXPECT_EQ(GetApp()->StatusText(), "Ready");
    }
}

// The view's surface sampling shows as a task; once it ends, what the field said before stays (a
// cancelled Connect Curve, an export), unless the task itself was cancelled.
TEST(StatusFieldTest, ASurfaceTaskEndsOnTheTextFromBeforeIt) {
    StatusFieldDialog status;
    const std::string cancelled = ConversionCancelledStatus(IsEnglish());
    const struct {
        std::string before;
        bool taskCancelled;
        std::string after;
    } cases[] = {{cancelled, false, cancelled},
                 {"Wrote 1 object to a.rvp", false, "Wrote 1 object to a.rvp"},
                 {"Ready", true, cancelled}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        GetApp()->SetStatusText(c.before);
        int cancels = 0;
        status.BeginTask([&cancels] { ++cancels; });
        status.BeginTask([&cancels] { ++cancels; });
        status.ShowTaskProgress(3, 10);
        EXPECT_NE(status.field()->text().toStdString(), c.before);
        EXPECT_FALSE(status.progressBar()->isHidden());
        if (c.taskCancelled) {
            status.cancelButton()->click();
            EXPECT_EQ(cancels, 1);
        }
        status.EndTask(c.taskCancelled);
        EXPECT_EQ(status.field()->text().toStdString(), c.after);
        EXPECT_TRUE(status.progressBar()->isHidden());
    }
    GetApp()->SetStatusText("Ready");
}

}  // namespace
}  // namespace korvane
