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
    for (const SplineNode& node : object.nodes) {
        curves.points.push_back(node.controlPoint);
    }
    curves.starts = object.splineStart;
    return curves;
}

std::vector<float> Handles(const PatchObject& object) {
    std::vector<float> handles;
    for (const SplineNode& node : object.nodes) {
        handles.insert(handles.end(), {node.handleIn.x, node.handleIn.y, node.handleIn.z,
                                       node.handleOut.x, node.handleOut.y, node.handleOut.z});
    }
    return handles;
}

class DocumentConnectTest : public FileFolderTest {
  protected:
    // A grid, a torus and a sphere, one object each, in that order.
    void ImportShapes(Document& document) {
        const modelgen::GeneratedModel shapes[] = {modelgen::MakeGrid(4, 3),
                                                   modelgen::MakeTorus(8, 5),
                                                   modelgen::MakeSphere(6, 4)};
        for (const modelgen::GeneratedModel& shape : shapes) {
            const std::string path = Write(shape.name + ".mqo", modelgen::WriteMqoText(shape));
            ASSERT_EQ(document.Import(path, {}).status, ImportStatus::kImported);
        }
    }
};

// Each object in turn reports the points examined: from 0, never going back, every point up to
// the last, and then its total, once it is done. The patches come current at once or when read,
// the same either way.
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
            for (; at < steps.size() && steps[at].objectIndex == index; ++at) {
                EXPECT_EQ(steps[at].total, object->PointCount());
                EXPECT_GE(steps[at].done, last);
                EXPECT_LE(steps[at].done - last, 1) << "no point is skipped";
                last = steps[at].done;
            }
            EXPECT_EQ(last, object->PointCount());
            EXPECT_EQ(steps[at - 1].done, steps[at - 1].total) << "the object ends done";
            EXPECT_EQ(steps[at - 2].done, object->PointCount() - 1);
            EXPECT_EQ(object->patchesValid, upkeep == PatchUpkeep::kAtOnce);
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
// has them, and the objects after it stay exactly as imported.
TEST_F(DocumentConnectTest, CancelKeepsWhatWasJoinedAndLeavesTheRestAsItWas) {
    Document finished;
    ImportShapes(finished);
    finished.Connect(150.0f, {}, {});
    const std::int32_t joinedGridSplines = finished.Objects().GetHead()->SplineCount();

    const struct {
        int answeredNo;  // questions answered "go on" before the first "stop"
        std::int32_t objectsConnected;
    } cases[] = {{0, 0}, {1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answeredNo);
        Document document;
        ImportShapes(document);
        std::vector<Curves> imported;
        for (const PatchObject* object : document.Objects()) {
            imported.push_back(CurvesOf(*object));
        }
        int asked = 0;
        std::vector<ConnectProgress> steps;
        const ConnectReport report = document.Connect(
            150.0f, [&steps](const ConnectProgress& step) { steps.push_back(step); },
            [&asked, &c] { return asked++ >= c.answeredNo; });
        EXPECT_TRUE(report.cancelled);
        EXPECT_EQ(report.objectsConnected, c.objectsConnected);

        std::size_t index = 0;
        for (PatchObject* object : document.Objects()) {
            SCOPED_TRACE(object->name);
            EXPECT_TRUE(object->patchesValid);
            EXPECT_TRUE(CheckPatchInvariants(*object).empty());
            if (static_cast<std::int32_t>(index) >= c.objectsConnected) {
                EXPECT_EQ(CurvesOf(*object), imported[index]) << "not reached";
            } else {
                EXPECT_LT(object->SplineCount(), static_cast<std::int32_t>(
                                                     imported[index].starts.size() - 1));
                EXPECT_GT(object->SplineCount(), joinedGridSplines);
                const std::vector<float> kept = Handles(*object);
                ComputeHandles(*object);
                EXPECT_EQ(kept, Handles(*object)) << "the joined nodes have their handles";
            }
            ++index;
        }
        for (const ConnectProgress& step : steps) {
            EXPECT_LT(step.done, step.total) << "no object was finished";
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
