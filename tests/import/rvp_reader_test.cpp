#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "document/object_store.h"
#include "export/rvp_writer.h"
#include "import/metasequoia_reader.h"
#include "import/rvp_reader.h"
#include "import_test_support.h"
#include "patch/curve_connector.h"
#include "patch/patch_builder.h"
#include "patch/patch_invariants.h"
#include "patch/patch_network_access.h"
#include "support/rvp_layout.h"

namespace korvane {
namespace {

using testing::ObjectsOf;
using testing::ReferEveryNode;
using testing::RvpBytes;
using testing::RvpFile;
using testing::RvpLayout;
using testing::TriangleLayout;

std::string Serialized(const ObjectStore& store) {
    const std::vector<std::uint8_t> bytes = SerializeRvp(store.objects);
    return {bytes.begin(), bytes.end()};
}

// An open octagonal tube of eight quads: connected at 100 degrees its two rims become closed
// splines, while the eight lengthwise edges stay apart.
std::string OctagonalTube() {
    std::string text =
        "Metasequoia Document\nFormat Text Ver 1.0\nObject \"tube\" {\n\tvertex 16 {\n";
    for (int ring = 0; ring < 2; ++ring) {
        for (int i = 0; i < 8; ++i) {
            const double angle = i * std::numbers::pi / 4;
            text += "\t\t" + std::to_string(10 * std::cos(angle)) + " " +
                    std::to_string(10 * ring) + " " + std::to_string(10 * std::sin(angle)) + "\n";
        }
    }
    text += "\t}\n\tface 8 {\n";
    for (int i = 0; i < 8; ++i) {
        const int next = (i + 1) % 8;
        text += "\t\t4 V(" + std::to_string(i) + " " + std::to_string(next) + " " +
                std::to_string(8 + next) + " " + std::to_string(8 + i) + ")\n";
    }
    return text + "\t}\n}\nEof\n";
}

// The sample model and the tube, connected, with handles and patches, and with corners and
// tensions that differ from the defaults.
void MakeDocument(ObjectStore& store) {
    ASSERT_EQ(ImportMetasequoia(testing::kSampleMqoPath, store).status, ImportStatus::kImported);
    ASSERT_EQ(ImportMetasequoiaBytes(OctagonalTube(), store).status, ImportStatus::kImported);
    store.AddObject()->name = "empty";
    int count = 0;
    for (PatchObject* object : store.objects) {
        ConnectCurves(*object, 100.0f, {});
        for (SplineNode& node : PatchNetworkAccess::Nodes(*object)) {
            node.corner = ++count % 3 == 0;
            node.tension = 0.1f * static_cast<float>(count % 7);
        }
        ComputeHandles(*object);
        DetectPatches(*object);
    }
}

// Corner control points of every patch, by index.
std::vector<std::vector<std::int32_t>> PatchCorners(const PatchObject& object) {
    std::vector<std::vector<std::int32_t>> corners;
    for (const Patch& patch : object.Patches()) {
        corners.emplace_back();
        for (std::size_t i = 0; i < static_cast<std::size_t>(patch.cornerCount); ++i) {
            corners.back().push_back(
                object.Nodes()[static_cast<std::size_t>(patch.edgeStart[i])].controlPoint);
        }
    }
    return corners;
}

TEST(RvpReaderTest, ExportReadsBackRecordForRecord) {
    ObjectStore original;
    MakeDocument(original);
    const std::string file = Serialized(original);

    ObjectStore read;
    const RvpReadResult result = ImportRvpBytes(file, read);
    ASSERT_EQ(result.error, "");
    ASSERT_EQ(result.objectsAdded, original.objects.GetCount());
    ASSERT_EQ(read.objects.GetCount(), original.objects.GetCount());
    EXPECT_EQ(Serialized(read), file);  // every value and reference, in order

    const std::vector<PatchObject*> before = ObjectsOf(original);
    const std::vector<PatchObject*> after = ObjectsOf(read);
    int closedSplines = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        SCOPED_TRACE(before[i]->name);
        EXPECT_EQ(after[i]->name, before[i]->name);
        EXPECT_EQ(after[i]->colour, before[i]->colour);
        EXPECT_FALSE(after[i]->PatchesValid());
        EXPECT_EQ(CheckPatchInvariants(*after[i]), std::vector<std::string>{});
        EXPECT_EQ(after[i]->SplineStarts(), before[i]->SplineStarts());
        EXPECT_EQ(after[i]->RefStarts(), before[i]->RefStarts());
        for (std::size_t r = 0; r < before[i]->Refs().size(); ++r) {
            EXPECT_EQ(after[i]->Refs()[r].spline, before[i]->Refs()[r].spline);
            EXPECT_EQ(after[i]->Refs()[r].node, before[i]->Refs()[r].node);
        }
        for (const bool closed : before[i]->SplineClosedFlags()) {
            closedSplines += closed ? 1 : 0;
        }
        // Handles come from the points, as after the import.
        ASSERT_EQ(after[i]->Nodes().size(), before[i]->Nodes().size());
        for (std::size_t n = 0; n < before[i]->Nodes().size(); ++n) {
            for (const HandleDirection side : {HandleDirection::kIn, HandleDirection::kOut}) {
                const PatchVec3& kept = before[i]->Nodes()[n].Handle(side);
                const PatchVec3& read = after[i]->Nodes()[n].Handle(side);
                EXPECT_EQ(read.x, kept.x);
                EXPECT_EQ(read.y, kept.y);
                EXPECT_EQ(read.z, kept.z);
            }
        }
        DetectPatches(*after[i]);
        EXPECT_EQ(PatchCorners(*after[i]), PatchCorners(*before[i]));
    }
    EXPECT_EQ(closedSplines, 2);  // the tube's rims
    EXPECT_FALSE(PatchCorners(*after[3]).empty());
}

TEST(RvpReaderTest, NamesOfEveryLengthPrefix) {
    for (const std::size_t length : {0u, 254u, 255u, 0xFFFDu, 0xFFFEu, 0xFFFFu, 70000u}) {
        std::string name(length, 'n');
        if (length > 0) {
            name.back() = '\x83';
        }
        ObjectStore store;
        store.AddObject()->name = name;
        ObjectStore read;
        ASSERT_EQ(ImportRvpBytes(Serialized(store), read).error, "") << length;
        EXPECT_EQ(read.objects.GetHead()->name, name) << length;
    }
}

TEST(RvpReaderTest, EmptyDocumentAddsNothing) {
    ObjectStore read;
    const RvpReadResult result = ImportRvpBytes(RvpFile({}), read);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.objectsAdded, 0);
    EXPECT_TRUE(read.objects.IsEmpty());
}

// Values the export always writes the same way and the points' flags are not checked, and are
// not kept: the export writes its own. Any closed flag but 0 closes.
TEST(RvpReaderTest, SettingsItDoesNotUseMayHoldAnything) {
    RvpLayout layout;
    layout.points = 3;
    layout.splines = {{-7, {0, 1, 2}}};
    ReferEveryNode(layout);
    RvpLayout exported = layout;
    exported.splines[0].closed = 1;
    layout.settings = {5, -1, 9, 0, 0, 1234567, -2};
    layout.text = "anything at all";
    layout.settingAfterText = 42;
    layout.splineSetting = 0;
    layout.pointFlag = -3;
    ObjectStore read;
    ASSERT_EQ(ImportRvpBytes(RvpFile({layout}), read).error, "");
    EXPECT_TRUE(read.objects.GetHead()->Closed(0));
    EXPECT_EQ(Serialized(read), RvpFile({exported}));
}

// Each point keeps its references in the file's order, whatever the order of the nodes, and a
// reference names its node by index among all the object's nodes.
TEST(RvpReaderTest, ReferencesKeepTheFilesOrder) {
    RvpLayout layout = TriangleLayout();
    for (auto& refs : layout.refs) {
        std::reverse(refs.begin(), refs.end());
    }
    ObjectStore read;
    ASSERT_EQ(ImportRvpBytes(RvpFile({layout}), read).error, "");
    const PatchObject& object = *read.objects.GetHead();
    // Splines (0 1), (1 2), (2 0) own nodes 0-1, 2-3 and 4-5.
    const std::vector<std::vector<std::pair<std::int32_t, std::int32_t>>> expected = {
        {{2, 5}, {0, 0}}, {{1, 2}, {0, 1}}, {{2, 4}, {1, 3}}};
    for (std::int32_t p = 0; p < 3; ++p) {
        std::vector<std::pair<std::int32_t, std::int32_t>> refs;
        for (const SplineRef& ref : object.RefsOf(p)) {
            refs.emplace_back(ref.spline, ref.node);
        }
        EXPECT_EQ(refs, expected[static_cast<std::size_t>(p)]) << "point " << p;
    }
    EXPECT_EQ(Serialized(read), RvpFile({layout}));
}

// The error, which must leave the store empty.
std::string Refusal(const std::string& file) {
    ObjectStore read;
    const RvpReadResult result = ImportRvpBytes(file, read);
    EXPECT_EQ(result.objectsAdded, 0);
    EXPECT_TRUE(read.objects.IsEmpty());
    return result.error;
}

std::string Refusal(const std::vector<RvpLayout>& objects) {
    return Refusal(RvpFile(objects));
}

TEST(RvpReaderTest, RefusesReferencesThatDoNotHoldTogether) {
    struct Case {
        const char* what;
        void (*breakIt)(RvpLayout&);
        const char* error;
    };
    const Case cases[] = {
        {"point past the last", [](RvpLayout& l) { l.splines[1].nodePoints[1] = 3; },
         "node 1 of spline 1 names control point 3 of 3"},
        {"negative point", [](RvpLayout& l) { l.splines[0].nodePoints[0] = -1; },
         "node 0 of spline 0 names control point -1 of 3"},
        {"spline past the last", [](RvpLayout& l) { l.refs[2][0].first = 3; },
         "control point 2 refers to spline 3 of 3"},
        {"negative spline", [](RvpLayout& l) { l.refs[0][0].first = -1; },
         "control point 0 refers to spline -1 of 3"},
        {"node past the last", [](RvpLayout& l) { l.refs[1][0].second = 2; },
         "control point 1 refers to node 2 of spline 0, which has 2 nodes"},
        {"node on another point",
         [](RvpLayout& l) {
             l.refs[0][0] = {1, 0};
         },
         "control point 0 refers to node 0 of spline 1, which sits on control point 1"},
        {"node twice", [](RvpLayout& l) { l.refs[0].push_back(l.refs[0][0]); },
         "node 0 of spline 0 is referred to twice"},
        {"node never", [](RvpLayout& l) { l.refs[2].pop_back(); },
         "node 0 of spline 2 is referred to by no control point"},
        {"one node",
         [](RvpLayout& l) {
             l.splines[2].nodePoints = {2};
             ReferEveryNode(l);
         },
         "spline 2 has fewer than two nodes"},
        {"no node",
         [](RvpLayout& l) {
             l.splines[0].nodePoints.clear();
             ReferEveryNode(l);
         },
         "spline 0 has fewer than two nodes"},
        {"closed on its head",
         [](RvpLayout& l) {
             l.splines = {{1, {0, 1, 2, 0}}};
             ReferEveryNode(l);
         },
         "spline 0 is closed and repeats its head at its tail"},
        {"second point count", [](RvpLayout& l) { l.pointCountAgain = 2; },
         "the references are given for 2 control points, but the object has 3"},
    };
    for (const Case& c : cases) {
        RvpLayout broken = TriangleLayout();
        c.breakIt(broken);
        EXPECT_EQ(Refusal({broken}), std::string("object 0: ") + c.error) << c.what;
        // The place names the object; a sound object before it is not kept either.
        EXPECT_EQ(Refusal({TriangleLayout(), broken}), std::string("object 1: ") + c.error)
            << c.what;
    }
    RvpLayout ring = TriangleLayout();
    ring.splines = {{1, {0, 1, 2}}};
    ReferEveryNode(ring);
    ObjectStore read;
    EXPECT_EQ(ImportRvpBytes(RvpFile({ring, TriangleLayout()}), read).error, "");
    EXPECT_EQ(read.objects.GetCount(), 2);
}

// A count the rest of the file cannot hold is refused where it stands, whatever follows.
TEST(RvpReaderTest, RefusesCountsBeyondTheBytes) {
    ObjectStore read;
    const std::string file = RvpBytes().Str("object_info").U32(0xFFFFFFFF).Str("end").bytes();
    EXPECT_EQ(ImportRvpBytes(file, read).error,
              "the file ends early or is damaged: 4294967295 objects counted at byte 12 need at "
              "least 214748364750 bytes, but 4 follow");
    EXPECT_TRUE(read.objects.IsEmpty());

    // In a file of one triangle named "t": the header, the object count, the name, the colour,
    // seven settings, the text " " and one more setting come before the point count.
    const std::size_t pointCountAt = 12 + 4 + 2 + 4 + 28 + 2 + 4;
    const std::size_t firstSplineAt = pointCountAt + 4 + 3 * 16 + 4;
    const std::size_t firstNodeCountAt = firstSplineAt + 8;
    const std::size_t firstRefCountAt = firstSplineAt + 3 * (12 + 2 * 12) + 4;
    const std::pair<std::size_t, std::string> counts[] = {{pointCountAt, "control points"},
                                                          {firstNodeCountAt, "nodes"},
                                                          {firstRefCountAt, "references"}};
    for (const auto& [at, what] : counts) {
        for (const std::uint32_t huge : {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0x10000u}) {
            std::string bytes = RvpFile({TriangleLayout()});
            testing::OverwriteU32(bytes, at, huge);
            EXPECT_EQ(
                Refusal(bytes).rfind(
                    "object 0: the file ends early or is damaged: " + std::to_string(huge) + " " +
                        what + " counted at byte " + std::to_string(at) + " need at least ",
                    0),
                0u)
                << Refusal(bytes);
        }
    }
}

TEST(RvpReaderTest, RefusesAnythingButItsMarksAtBothEnds) {
    const std::string file = RvpFile({TriangleLayout()});
    const std::string body = file.substr(0, file.size() - 4);
    const std::pair<std::string, std::string> cases[] = {
        {body + RvpBytes().Str("End").bytes(), "the objects are not followed by \"end\""},
        {body + RvpBytes().Str("").bytes(), "the objects are not followed by \"end\""},
        {body + RvpBytes().Str("ends").bytes(), "the objects are not followed by \"end\""},
        {file + '\0', "1 bytes follow the closing \"end\""},
        {file + file, std::to_string(file.size()) + " bytes follow the closing \"end\""},
        {body, "the file ends early at byte " + std::to_string(body.size())},
        {body + "\x05"
                "end",
         "the file ends early at byte " + std::to_string(body.size())},
        {"", "the file does not start with \"object_info\""},
        {"\x0B"
         "object_infx" +
             file.substr(12),
         "the file does not start with \"object_info\""},
        {"\xFF\x0B", "the file does not start with \"object_info\""},
    };
    for (const auto& [bytes, error] : cases) {
        ObjectStore store;
        const RvpReadResult result = ImportRvpBytes(bytes, store);
        EXPECT_EQ(result.error, error);
        EXPECT_TRUE(store.objects.IsEmpty());
    }
}

}  // namespace
}  // namespace korvane
