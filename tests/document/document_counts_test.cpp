#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/document.h"
#include "document_files.h"
#include "export/rvp_writer.h"
#include "support/network_builder.h"

// Count, the one count of a document's networks and patches behind info and the Document dialog.

namespace korvane {
namespace {

using testing::FileFolderTest;
using testing::NetworkBuilder;

// Two separate triangles and a square: two three-point patches and one four-point patch.
void AddTrianglesAndSquare(PatchObject& object) {
    NetworkBuilder net(object);
    for (float x : {0.0f, 2.0f}) {
        net.Point(x, 0, 0);
        net.Point(x + 1, 0, 0);
        net.Point(x, 1, 0);
    }
    for (int first : {0, 3}) {
        net.Curve({first, first + 1});
        net.Curve({first + 1, first + 2});
        net.Curve({first + 2, first});
    }
    net.Point(4, 0, 0);
    net.Point(5, 0, 0);
    net.Point(5, 1, 0);
    net.Point(4, 1, 0);
    net.Curve({6, 7});
    net.Curve({7, 8});
    net.Curve({8, 9});
    net.Curve({9, 6});
}

// A grid of 3 x 2 unit squares drawn as single edges.
void AddGrid(PatchObject& object) {
    NetworkBuilder net(object);
    for (int y = 0; y <= 2; ++y) {
        for (int x = 0; x <= 3; ++x) {
            net.Point(static_cast<float>(x), static_cast<float>(y), 0);
        }
    }
    for (int y = 0; y <= 2; ++y) {
        for (int x = 0; x <= 3; ++x) {
            if (x < 3) {
                net.Curve({y * 4 + x, y * 4 + x + 1});
            }
            if (y < 2) {
                net.Curve({y * 4 + x, (y + 1) * 4 + x});
            }
        }
    }
}

class DocumentCountsTest : public FileFolderTest {};

std::vector<std::int64_t> Numbers(const ObjectCounts& counts) {
    return {counts.controlPoints, counts.splines,    counts.closedSplines,
            counts.nodes,         counts.triPatches, counts.quadPatches};
}

// Each object's points, splines, closed splines, nodes and 3- and 4-point patches, and their sum;
// after Connect Curve the patches of the joined curves, found anew.
TEST_F(DocumentCountsTest, CountsEveryObjectAndTheTotalBeforeAndAfterConnect) {
    ObjectStore built;
    AddTrianglesAndSquare(*built.AddObject());
    AddGrid(*built.AddObject());
    built.AddObject()->name = "empty";
    const std::string path = PathOf("built.rvp");
    ASSERT_EQ(WriteRvpFile(path, built.objects).status, WriteStatus::kWritten);

    for (const PatchUpkeep upkeep : {PatchUpkeep::kAtOnce, PatchUpkeep::kWhenRead}) {
        Document document(upkeep);
        ASSERT_EQ(document.Import(path, {}).status, ImportStatus::kImported);
        const DocumentCounts imported = document.Count();
        ASSERT_EQ(imported.objects.size(), 3u);
        EXPECT_EQ(Numbers(imported.objects[0]), (std::vector<std::int64_t>{10, 10, 0, 20, 2, 1}));
        EXPECT_EQ(Numbers(imported.objects[1]), (std::vector<std::int64_t>{12, 17, 0, 34, 0, 6}));
        EXPECT_EQ(Numbers(imported.objects[2]), (std::vector<std::int64_t>{0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(imported.objects[2].name, "empty");
        EXPECT_EQ(Numbers(imported.totals), (std::vector<std::int64_t>{22, 27, 0, 54, 2, 7}));

        document.Connect(100.0f, {}, {});
        const DocumentCounts connected = document.Count();
        EXPECT_EQ(Numbers(connected.objects[1]), (std::vector<std::int64_t>{12, 7, 0, 24, 0, 6}))
            << "three rows and four columns, round the same squares";
        EXPECT_EQ(connected.totals.quadPatches, 7);
    }
}

}  // namespace
}  // namespace korvane
