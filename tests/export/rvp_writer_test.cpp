#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "export/rvp_writer.h"
#include "patch/patch_builder.h"
#include "patch/patch_network_access.h"
#include "rvp_bytes.h"
#include "support/mesh_shapes.h"

namespace korvane {
namespace {

using testing::ArchiveReader;
using testing::FromHex;

// Adds open splines through the given points, every node referred to from its point.
void AddCurves(PatchObject& object, const std::vector<std::vector<std::int32_t>>& splines) {
    for (const std::vector<std::int32_t>& points : splines) {
        object.AddSpline(points);
    }
    object.IndexReferences();
}

// Objects owned in order, with their list, as the document keeps them.
class Objects {
  public:
    PatchObject& Add(const std::string& name) {
        PatchObject& object = *owned_.emplace_back(std::make_unique<PatchObject>());
        object.name = name;
        list.Append(&object);
        return object;
    }

    ObjectList<PatchObject> list;

  private:
    std::vector<std::unique_ptr<PatchObject>> owned_;
};

const std::string kHeader = "0B 6F 62 6A 65 63 74 5F 69 6E 66 6F";
const std::string kTrailer = "03 65 6E 64";
// From the colour to the control point count: seven fixed ints, the string " ", one more int.
const std::string kFixedFields =
    "00 00 00 00 | 01 00 00 00 | 00 00 00 00 | 01 00 00 00 | 01 00 00 00 | 00 00 00 00 | "
    "00 00 00 00 | 01 20 | 00 00 00 00";

TEST(RvpWriterTest, EmptyDocumentIsTwentyBytes) {
    Objects objects;
    EXPECT_EQ(SerializeRvp(objects.list), FromHex(kHeader + " 00 00 00 00 " + kTrailer));
}

TEST(RvpWriterTest, OneEdgeObjectMatchesTheReferenceFile) {
    Objects objects;
    PatchObject& object = objects.Add("E");
    object.AddControlPoint({0, 0, 0});
    object.AddControlPoint({1, 0, 0});
    AddCurves(object, {{0, 1}});
    ComputeHandles(object);  // handles are not part of the file

    const auto expected = FromHex(
        "0B 6F 62 6A 65 63 74 5F 69 6E 66 6F | 01 00 00 00 | 01 45 | FF FF FF 00 | 00 00 00 00 | "
        "01 00 00 00 | 00 00 00 00 | 01 00 00 00 | 01 00 00 00 | 00 00 00 00 | 00 00 00 00 | "
        "01 20 | 00 00 00 00 | 02 00 00 00 | "
        "00 00 00 00 00 00 00 00 00 00 00 00 01 00 00 00 | "
        "00 00 80 3F 00 00 00 00 00 00 00 00 01 00 00 00 | 01 00 00 00 | "
        "00 00 00 00 01 00 00 00 02 00 00 00 | 00 00 00 00 9A 99 99 3E 00 00 00 00 | "
        "00 00 00 00 9A 99 99 3E 01 00 00 00 | 02 00 00 00 | "
        "01 00 00 00 00 00 00 00 00 00 00 00 | 01 00 00 00 00 00 00 00 01 00 00 00 | "
        "03 65 6E 64");
    ASSERT_EQ(expected.size(), 164u);
    EXPECT_EQ(SerializeRvp(objects.list), expected);
}

TEST(RvpWriterTest, EmptyObjectRecord) {
    Objects objects;
    objects.Add("Box").colour = 0x00336699;
    EXPECT_EQ(SerializeRvp(objects.list),
              FromHex(kHeader + " 01 00 00 00 | 03 42 6F 78 | 99 66 33 00 | " + kFixedFields +
                      " | 00 00 00 00 | 00 00 00 00 | 00 00 00 00 " + kTrailer));
}

TEST(RvpWriterTest, NamePrefixGrowsWithTheLength) {
    struct Case {
        std::size_t length;
        std::string prefix;
    };
    const Case cases[] = {{0, "00"},
                          {254, "FE"},
                          {255, "FF FF 00"},
                          {65533, "FF FD FF"},
                          {65534, "FF FF FF FE FF 00 00"},
                          {70000, "FF FF FF 70 11 01 00"}};
    for (const Case& c : cases) {
        Objects objects;
        const std::string name(c.length, 'n');
        objects.Add(name);
        const auto bytes = SerializeRvp(objects.list);
        const auto prefix = FromHex(c.prefix);
        const std::size_t at = 16;  // after the header tag and the object count
        ASSERT_GE(bytes.size(), at + prefix.size() + c.length) << c.length;
        EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + at, bytes.begin() + at + prefix.size()),
                  prefix)
            << c.length;
        ArchiveReader reader(bytes);
        reader.String();
        reader.Count();
        EXPECT_EQ(reader.String(), name);
        EXPECT_EQ(bytes.size(), 20 + prefix.size() + c.length + 4 + 28 + 2 + 4 + 12) << c.length;
    }
}

TEST(RvpWriterTest, NamesAreWrittenAsTheirBytes) {
    Objects objects;
    const std::string shiftJis = "\x83\x7B\x83\x62\x83\x4E\x83\x58";
    objects.Add(shiftJis);
    ArchiveReader reader(SerializeRvp(objects.list));
    reader.String();
    reader.Count();
    EXPECT_EQ(reader.String(), shiftJis);
}

// Splines and references by position: a spline lists the points of its nodes, and a point the
// spline and the node's position within it of each of its references, in the object's order.
// Flags the model does not keep go out as 1; corner nodes as 1.
TEST(RvpWriterTest, SplinesAndReferencesUsePositions) {
    Objects objects;
    PatchObject& object = objects.Add("S");
    for (int i = 0; i < 8; ++i) {
        object.AddControlPoint({static_cast<float>(i), 0.5f, -2.0f});
    }
    AddCurves(object, {{0, 1, 2}, {4, 5, 6}, {3, 7, 2}});
    PatchNetworkAccess::SplineClosedFlags(object)[1] = true;
    PatchNetworkAccess::Nodes(object)[4].corner = true;
    PatchNetworkAccess::Nodes(object)[5].tension = 0.75f;
    // Point 2 holds its two references the other way round from the node order.
    const std::int32_t first = object.RefStarts()[2];
    std::swap(PatchNetworkAccess::Refs(object)[static_cast<std::size_t>(first)],
              PatchNetworkAccess::Refs(object)[static_cast<std::size_t>(first) + 1]);

    const auto bytes = SerializeRvp(objects.list);
    ArchiveReader reader(bytes);
    EXPECT_EQ(reader.String(), "object_info");
    EXPECT_EQ(reader.Count(), 1u);
    EXPECT_EQ(reader.String(), "S");
    reader.Count();
    for (int i = 0; i < 7; ++i) {
        reader.Int();
    }
    EXPECT_EQ(reader.String(), " ");
    reader.Int();
    ASSERT_EQ(reader.Count(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(reader.Float(), static_cast<float>(i));
        EXPECT_EQ(reader.Float(), 0.5f);
        EXPECT_EQ(reader.Float(), -2.0f);
        EXPECT_EQ(reader.Int(), 1);
    }
    ASSERT_EQ(reader.Count(), 3u);
    const std::vector<std::vector<int>> nodes = {{0, 1, 2}, {4, 5, 6}, {3, 7, 2}};
    int node = 0;
    for (std::size_t s = 0; s < 3; ++s) {
        EXPECT_EQ(reader.Int(), s == 1 ? 1 : 0);
        EXPECT_EQ(reader.Int(), 1);
        ASSERT_EQ(reader.Count(), nodes[s].size());
        for (int point : nodes[s]) {
            EXPECT_EQ(reader.Int(), node == 4 ? 1 : 0);
            EXPECT_EQ(reader.Float(), node == 5 ? 0.75f : 0.3f);
            EXPECT_EQ(reader.Int(), point);
            ++node;
        }
    }
    ASSERT_EQ(reader.Count(), 8u);
    const std::vector<std::vector<std::pair<int, int>>> refs = {
        {{0, 0}}, {{0, 1}}, {{2, 2}, {0, 2}}, {{2, 0}}, {{1, 0}}, {{1, 1}}, {{1, 2}}, {{2, 1}}};
    for (std::size_t p = 0; p < 8; ++p) {
        ASSERT_EQ(reader.Count(), refs[p].size()) << "point " << p;
        for (const auto& [spline, position] : refs[p]) {
            EXPECT_EQ(reader.Int(), spline) << "point " << p;
            EXPECT_EQ(reader.Int(), position) << "point " << p;
        }
    }
    EXPECT_EQ(reader.String(), "end");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(reader.overrun());
}

TEST(RvpWriterTest, PointsWithoutReferencesHaveAZeroCount) {
    Objects objects;
    objects.Add("P").AddControlPoint({1, 2, 3});
    const auto bytes = SerializeRvp(objects.list);
    const auto tail = FromHex("00 00 00 00 | 01 00 00 00 | 00 00 00 00 " + kTrailer);
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.end() - static_cast<long>(tail.size()), bytes.end()),
              tail);
}

// Record sizes follow from the counts: name, 4 + 28 + 2 + 4, 4 + 16 per point, 4 + 12 + 12 per
// node for each spline, 4 + (4 + 8 per reference) per point.
TEST(RvpWriterTest, SeveralObjectsFollowEachOtherInListOrder) {
    Objects objects;
    std::size_t expectedSize = 20;
    for (int size = 1; size <= 3; ++size) {
        PatchObject& object = objects.Add("grid" + std::to_string(size));
        PolyMesh mesh;
        testing::FillGrid(mesh, size, size + 1);
        BuildFromMesh(mesh, object);
        const std::size_t points = object.Points().size();
        const std::size_t splines = object.SplineClosedFlags().size();
        expectedSize += 1 + object.name.size() + 38 + 4 + 16 * points + 4 + splines * (12 + 24) +
                        4 + 4 * points + 2 * splines * 8;
    }
    const auto bytes = SerializeRvp(objects.list);
    EXPECT_EQ(bytes.size(), expectedSize);

    ArchiveReader reader(bytes);
    reader.String();
    EXPECT_EQ(reader.Count(), 3u);
    EXPECT_EQ(reader.String(), "grid1");
}

}  // namespace
}  // namespace korvane
