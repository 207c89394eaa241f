#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "document/object_store.h"
#include "hostile_models.h"
#include "hostile_support.h"

namespace korvane::testing {
namespace {

using LightWaveHostileTest = HostileTest;

// A chunk whose size field says `declaredSize`, whatever its data holds.
std::string RawChunk(std::string_view id, std::uint32_t declaredSize, std::string_view data) {
    return std::string(id) + BigEndian(declaredSize, 4) + std::string(data);
}

std::string HexOf(std::string_view bytes) {
    std::string hex;
    for (const char byte : bytes) {
        static constexpr char kDigits[] = "0123456789abcdef";
        hex += kDigits[static_cast<unsigned char>(byte) >> 4];
        hex += kDigits[static_cast<unsigned char>(byte) & 15];
    }
    return hex;
}

std::string SquarePoints() {
    return Points({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0});
}

std::string SquarePolygons() {
    return "FACE" + Words({4, 0, 1, 2, 3});
}

// Zero, odd, all ones and one past the end, in the size of each chunk the reader reads: the
// reading ends at a chunk that does not fit, and the layer read so far is still an object.
TEST_F(LightWaveHostileTest, ChunkSizesZeroOddAllOnesAndPastTheEnd) {
    const std::string layer = Chunk("LAYR", LayerData("l"));
    const std::string points = SquarePoints();
    const std::string polygons = SquarePolygons();
    struct Case {
        std::string name;
        std::string body;
        bool truncated;
    };
    const auto sized = [&](std::uint32_t pointsSize, std::uint32_t polygonsSize) {
        return layer + RawChunk("PNTS", pointsSize, points) +
               RawChunk("POLS", polygonsSize, polygons);
    };
    const auto size = [](const std::string& data) {
        return static_cast<std::uint32_t>(data.size());
    };
    const std::vector<Case> cases = {
        {"points of size 0", layer + RawChunk("PNTS", 0, "") + Chunk("POLS", polygons), false},
        {"polygons of size 0", layer + Chunk("PNTS", points) + RawChunk("POLS", 0, ""), false},
        {"odd size, pad byte follows", RawChunk("PNTS", 13, points.substr(0, 13) + '\0'), false},
        {"odd size, no pad byte at the end", RawChunk("PNTS", 13, points.substr(0, 13)), false},
        {"points of size 0xFFFFFFFF", sized(0xFFFFFFFF, size(polygons)), true},
        {"polygons of size 0xFFFFFFFF", sized(size(points), 0xFFFFFFFF), true},
        {"polygons one byte past the end", sized(size(points), size(polygons) + 1), true},
        {"layer of size 0x7FFFFFFF", RawChunk("LAYR", 0x7FFFFFFF, LayerData("l")), true},
        {"layer of size 0", RawChunk("LAYR", 0, "") + Chunk("PNTS", points), false},
        {"header cut inside a size", layer + "PNTS" + std::string(2, '\0'), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::string_view type : {"LWO2", "LWO3", "LWOB"}) {
            const std::string file = LwoFile(type, c.body);
            ObjectStore store;
            const ImportResult result = ImportAndConvert(file, store);
            EXPECT_EQ(result.status, ImportStatus::kImported);
            EXPECT_EQ(result.truncated, c.truncated);
            EXPECT_EQ(store.objects.GetCount(), 1);
            EXPECT_LE(ControlPointsOf(store), static_cast<std::int64_t>(file.size() / 12));
            ExpectCliEnds(file, 0);
        }
    }
    // The FORM size is not trusted either.
    std::string lyingForm = LwoFile("LWO2", layer + Chunk("PNTS", points));
    lyingForm.replace(4, 4, BigEndian(0xFFFFFFFF, 4));
    ObjectStore store;
    ImportAndConvert(lyingForm, store);
    EXPECT_EQ(ControlPointsOf(store), 4);
}

// Corner counts of nothing and of every bit set, with too few indices behind them.
TEST_F(LightWaveHostileTest, CornerCountsOfNothingAndAllOnes) {
    const std::vector<std::string> files = {
        LwoFile("LWO2", Chunk("PNTS", SquarePoints()) +
                            Chunk("POLS", "FACE" + Words({0, 0xFFFF, 0, 1, 2}))),
        LwoFile("LWO2", Chunk("PNTS", SquarePoints()) + Chunk("POLS", "FACE" + Words({0x03FF, 0}))),
        LwoFile("LWOB", Chunk("PNTS", SquarePoints()) + Chunk("POLS", Words({0, 1, 0xFFFF, 0, 1}))),
    };
    for (const std::string& file : files) {
        ObjectStore store;
        const ImportResult result = ImportAndConvert(file, store);
        EXPECT_EQ(result.status, ImportStatus::kImported);
        ASSERT_EQ(store.objects.GetCount(), 1);
        EXPECT_EQ(store.objects.GetHead()->PointCount(), 4);
        EXPECT_EQ(store.objects.GetHead()->SplineCount(), 0);
        ExpectCliEnds(file, 0);
    }
}

// 3 (the vertex count), 40000, 65535 and, in the newer layout's four-byte form, all ones name no
// vertex of a 3-point layer: that polygon is left out and counted, the valid one stays.
TEST_F(LightWaveHostileTest, IndicesOutsideAThreePointLayer) {
    const std::string points = Points({0, 0, 0, 1, 0, 0, 0, 1, 0});
    struct Case {
        std::string type;
        std::string badIndex;  // as the layout writes it
        std::string polygonType;
        std::string surface;  // the older layout's word after each polygon
    };
    // Indices from 0xFF00 on take four bytes in the newer layout, the first one 0xFF.
    const std::string fourByte65535("\xFF\x00\xFF\xFF", 4);
    const std::vector<Case> cases = {
        {"LWO2", Words({3}), "FACE", ""},         {"LWO2", Words({40000}), "FACE", ""},
        {"LWO2", fourByte65535, "FACE", ""},      {"LWO2", std::string(4, '\xFF'), "FACE", ""},
        {"LWOB", Words({3}), "", Words({1})},     {"LWOB", Words({40000}), "", Words({1})},
        {"LWOB", Words({65535}), "", Words({1})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type + " " + HexOf(c.badIndex));
        const std::string polygons = c.polygonType + Words({3, 0, 1, 2}) + c.surface +
                                     Words({3, 0}) + c.badIndex + Words({2}) + c.surface;
        const std::string file = LwoFile(c.type, Chunk("PNTS", points) + Chunk("POLS", polygons));
        ObjectStore store;
        const ImportResult result = ImportAndConvert(file, store);
        EXPECT_EQ(result.droppedFaces, 1);
        ASSERT_EQ(store.objects.GetCount(), 1);
        EXPECT_EQ(store.objects.GetHead()->PointCount(), 3);
        EXPECT_EQ(store.objects.GetHead()->Patches().size(), 1u);
        const ProcessResult cli = ExpectCliEnds(file, 0);
        EXPECT_NE(cli.err.find("warning"), std::string::npos) << cli.err;
    }
}

TEST_F(LightWaveHostileTest, NotANumberAndInfiniteCoordinates) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const std::string file =
        LwoFile("LWO2", Chunk("PNTS", Points({nan, 0, 0, infinity, -infinity, 0, 0, 1, nan})) +
                            Chunk("POLS", "FACE" + Words({3, 0, 1, 2})));
    ObjectStore store;
    ImportAndConvert(file, store);
    ASSERT_EQ(store.objects.GetCount(), 1);
    const PatchObject& object = *store.objects.GetHead();
    ASSERT_EQ(object.PointCount(), 3);
    EXPECT_TRUE(std::isnan(object.Points().front().x));
    EXPECT_TRUE(std::isinf(PointAt(object, 1).y));
    ExpectCliEnds(file, 0);
}

// Polygons that come before the points they name: the object takes both, whatever their order.
TEST_F(LightWaveHostileTest, PolygonsBeforePoints) {
    const std::vector<std::string> files = {
        LwoFile("LWO2", Chunk("LAYR", LayerData("l")) + Chunk("POLS", SquarePolygons()) +
                            Chunk("PNTS", SquarePoints())),
        LwoFile("LWOB", Chunk("POLS", Words({4, 0, 1, 2, 3, 1})) + Chunk("PNTS", SquarePoints())),
    };
    for (const std::string& file : files) {
        ObjectStore store;
        const ImportResult result = ImportAndConvert(file, store);
        EXPECT_EQ(result.droppedFaces, 0);
        ASSERT_EQ(store.objects.GetCount(), 1);
        EXPECT_EQ(store.objects.GetHead()->PointCount(), 4);
        EXPECT_EQ(store.objects.GetHead()->Patches().size(), 1u);
        ExpectCliEnds(file, 0);
    }
}

}  // namespace
}  // namespace korvane::testing
