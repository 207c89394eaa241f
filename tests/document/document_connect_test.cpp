#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/document.h"
#include "document_files.h"
#include "patch/patch_builder.h"
#include "patch/patch_invariants.h"
#include "tools/modelgen/model_shapes.h"
#include "tools/modelgen/model_writers.h"

// Connect, the document's door for Connect Curve: its progress, its end, and a cancel.

namespace korvane {
namespace {

using testing::FileFolderTest;

// Every spline's control points, spline after spline, and where each spline ends.
struct Curves {
    std::vector<std::int32_t> points;
    std::vector<std::int32_t> starts;
    bool operator==(const Curves&) const = default;
};

Curves CurvesOf(const PatchObject& object) {
    Curves curves;
    for (const SplineNode& node : object.Nodes()) {
        curves.points.push_back(node.controlPoint);
    }
    curves.starts = object.SplineStarts();
    return curves;
}

std::vector<float> Handles(const PatchObject& object) {
    std::vector<float> handles;
    for (const SplineNode& node : object.Nodes()) {
        handles.insert(handles.end(), {node.handleIn.x, node.handleIn.y, node.handleIn.z,
                                       node.handleOut.x, node.handleOut.y, node.handleOut.z});
    }
    return handles;
}

class DocumentConnectTest : public FileFolderTest {
  protected:
    // A grid, a torus and a sphere, one object each, in that order.
    void ImportShapes(Document& document) {
        const modelgen::GeneratedModel shapes[] = {
            modelgen::MakeGrid(4, 3), modelgen::MakeTorus(8, 5), modelgen::MakeSphere(6, 4)};
        for (const modelgen::GeneratedModel& shape : shapes) {
            const std::string path = Write(shape.name + ".mqo", modelgen::WriteMqoText(shape));
            ASSERT_EQ(document.Import(path, {}).status, ImportStatus::kImported);
        }
    }
};

// Each object in turn reports the points examined: from 0, never going back, every point up to
// the last, and then its total, once it is done; at once, its patch search follows as a step of
// its own, from 0 to its length. The patches come current at once or when read, the same either
// way.
TEST_F(DocumentConnectTest, ProgressRisesToEachObjectsTotalInDocumentOrder) {
    DocumentCounts counts[2];
    for (const PatchUpkeep upkeep : {PatchUpkeep::kAtOnce, PatchUpkeep::kWhenRead}) {
        SCOPED_TRACE(upkeep == PatchUpkeep::kAtOnce ? "at once" : "when read");
        Document document(upkeep);
        ImportShapes(document);
        std::vector<ConnectProgress> steps;
        const ConnectReport report = document.Connect(
            150.0f, [&steps](const ConnectProgress& step) { steps.push_back(step); }, {});
        EXPECT_EQ(report.objectsConnected, 3);
        EXPECT_FALSE(report.cancelled);

        std::size_t at = 0;
        std::int32_t index = 0;
        for (const PatchObject* object : document.Objects()) {
            SCOPED_TRACE(object->name);
            ASSERT_LT(at, steps.size());
            EXPECT_EQ(steps[at].done, 0);
            std::int32_t last = 0;
            for (; at < steps.size() && steps[at].objectIndex == index &&
                   steps[at].step == ConnectStep::kJoining;
                 ++at) {
                EXPECT_EQ(steps[at].total, object->PointCount());
                EXPECT_GE(steps[at].done, last);
                EXPECT_LE(steps[at].done - last, 1) << "no point is skipped";
                last = steps[at].done;
            }
            EXPECT_EQ(last, object->PointCount());
            EXPECT_EQ(steps[at - 1].done, steps[at - 1].total) << "the joins end done";
            EXPECT_EQ(steps[at - 2].done, object->PointCount() - 1);
            const std::size_t searchFrom = at;
            for (last = 0; at < steps.size() && steps[at].objectIndex == index; ++at) {
                EXPECT_EQ(steps[at].step, ConnectStep::kFindingPatches);
                EXPECT_EQ(steps[at].total, PatchSearchLength(*object));
                EXPECT_GE(steps[at].done, last);
                last = steps[at].done;
            }
            if (upkeep == PatchUpkeep::kAtOnce) {
                ASSERT_GT(at, searchFrom + 1);
                EXPECT_EQ(steps[searchFrom].done, 0);
                EXPECT_EQ(last, PatchSearchLength(*object)) << "the search ends done";
            } else {
                EXPECT_EQ(at, searchFrom) << "patches are found when read";
            }
            EXPECT_EQ(object->PatchesValid(), upkeep == PatchUpkeep::kAtOnce);
            EXPECT_TRUE(CheckPatchInvariants(*object).empty());
            ++index;
        }
        EXPECT_EQ(at, steps.size());
        counts[upkeep == PatchUpkeep::kAtOnce ? 0 : 1] = document.Count();
    }
    EXPECT_EQ(counts[0].totals.splines, counts[1].totals.splines);
    EXPECT_EQ(counts[0].totals.closedSplines, counts[1].totals.closedSplines);
    EXPECT_EQ(counts[0].totals.quadPatches, counts[1].totals.quadPatches);
    EXPECT_EQ(counts[0].totals.triPatches, counts[1].totals.triPatches);
    EXPECT_GT(counts[0].totals.quadPatches, 0);
}

// A cancel stops the run where it is asked: before the first object nothing changes; after the
// first join the object under way keeps that join, with handles and patches as a finished one
// has them, and the objects after it stay exactly as imported. Its patch search can be stopped in
// its turn, which leaves it a sound network without patches; so can the search of an object
// whose joins were finished.
TEST_F(DocumentConnectTest, CancelKeepsWhatWasJoinedAndLeavesTheRestAsItWas) {
    Document finished;
    ImportShapes(finished);
    finished.Connect(150.0f, {}, {});
    const std::int32_t joinedGridSplines = finished.Objects().GetHead()->SplineCount();

    const struct {
        int answeredNo;        // questions about the joins answered "go on" before the first "stop"
        int searchAnsweredNo;  // the same about patch searches, -1 for never "stop"
        std::int32_t objectsConnected;
        bool joinsStopped;
    } cases[] = {{0, -1, 0, true}, {1, -1, 1, true}, {1, 0, 1, true}, {1000, 0, 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.answeredNo << " " << c.searchAnsweredNo);
        Document document;
        ImportShapes(document);
        std::vector<Curves> imported;
        for (const PatchObject* object : document.Objects()) {
            imported.push_back(CurvesOf(*object));
        }
        int asked[2] = {0, 0};
        std::vector<ConnectProgress> steps;
        const ConnectReport report = document.Connect(
            150.0f, [&steps](const ConnectProgress& step) { steps.push_back(step); },
            [&asked, &c](ConnectStep step) {
                if (step == ConnectStep::kJoining) {
                    return asked[0]++ >= c.answeredNo;
                }
                return c.searchAnsweredNo >= 0 && asked[1]++ >= c.searchAnsweredNo;
            });
        EXPECT_TRUE(report.cancelled);
        EXPECT_EQ(report.objectsConnected, c.objectsConnected);
        const bool searchStopped = c.searchAnsweredNo >= 0;
        EXPECT_EQ(report.patchesLeftOut, searchStopped);

        std::size_t index = 0;
        for (PatchObject* object : document.Objects()) {
            SCOPED_TRACE(object->name);
            const bool stopped = static_cast<std::int32_t>(index) + 1 == c.objectsConnected;
            EXPECT_EQ(object->PatchesValid(), !(stopped && searchStopped));
            if (stopped && searchStopped) {
                EXPECT_TRUE(object->Patches().empty());
            }
            EXPECT_TRUE(CheckPatchInvariants(*object).empty());
            if (static_cast<std::int32_t>(index) >= c.objectsConnected) {
                EXPECT_EQ(CurvesOf(*object), imported[index]) << "not reached";
            } else if (!c.joinsStopped) {
                EXPECT_EQ(object->SplineCount(), joinedGridSplines);
            } else {
                EXPECT_LT(object->SplineCount(),
                          static_cast<std::int32_t>(imported[index].starts.size() - 1));
                EXPECT_GT(object->SplineCount(), joinedGridSplines);
                const std::vector<float> kept = Handles(*object);
                ComputeHandles(*object);
                EXPECT_EQ(kept, Handles(*object)) << "the joined nodes have their handles";
            }
            ++index;
        }
        for (const ConnectProgress& step : steps) {
            if (step.step == ConnectStep::kJoining && c.joinsStopped) {
                EXPECT_LT(step.done, step.total) << "no object's joins were finished";
            }
        }
    }
}

TEST_F(DocumentConnectTest, AnEmptyDocumentReportsNothing) {
    Document document;
    int steps = 0;
    const ConnectReport report =
        document.Connect(150.0f, [&steps](const ConnectProgress&) { ++steps; }, {});
    EXPECT_EQ(report.objectsConnected, 0);
    EXPECT_FALSE(report.cancelled);
    EXPECT_EQ(steps, 0);
}

}  // namespace
}  // namespace korvane
