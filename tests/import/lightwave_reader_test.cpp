#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "document/object_store.h"
#include "import/lightwave_reader.h"
#include "import_test_support.h"
#include "lwo_bytes.h"

namespace korvane {
namespace {

using testing::Chunk;
using testing::LayerData;
using testing::LwoFile;
using testing::NamesOf;
using testing::ObjectsOf;
using testing::PointAt;
using testing::Points;
using testing::SplineEnds;
using testing::Words;
using Ends = std::vector<std::pair<std::int32_t, std::int32_t>>;

const std::string kSquare = Points({0, 0, 0, 10, 0, 0, 10, 10, 0, 0, 10, 0});

std::string FacePolygons(const std::string& polygons) {
    return Chunk("POLS", "FACE" + polygons);
}

TEST(LightWaveReaderTest, LwobGivesOneObjectNamedAfterTheFileTitle) {
    const std::string file =
        LwoFile("LWOB", Chunk("SRFS", std::string("Default\0", 8)) + Chunk("PNTS", kSquare) +
                            Chunk("POLS", Words({4, 0, 1, 2, 3, 1, 3, 0, 1, 2, 1})) +
                            Chunk("SURF", std::string("Default\0COLR", 12) + Words({4}) +
                                              std::string("\xC8\xC8\xC8\0", 4)));
    ObjectStore store;
    const ImportResult result = ImportLightWaveBytes(file, "box", store);
    EXPECT_EQ(result.status, ImportStatus::kImported);
    EXPECT_EQ(result.objectsAdded, 1);
    EXPECT_FALSE(result.truncated);
    ASSERT_EQ(store.objects.GetCount(), 1);
    PatchObject& object = *store.objects.GetHead();
    EXPECT_EQ(object.name, "box");
    EXPECT_EQ(object.colour, 0xDCD2BEu);
    ASSERT_EQ(object.PointCount(), 4);
    EXPECT_EQ(PointAt(object, 2).x, 10.0f);
    EXPECT_EQ(PointAt(object, 2).y, 10.0f);
    EXPECT_EQ(PointAt(object, 2).z, 0.0f);
    EXPECT_EQ(SplineEnds(object), (Ends{{0, 1}, {1, 2}, {2, 0}, {2, 3}, {3, 0}}));
}

TEST(LightWaveReaderTest, LwobDetailPolygonsAreImported) {
    // The quad's surface word is negative: one detail polygon (a triangle) follows it.
    const std::string polygons = Words({4, 0, 1, 2, 3, 0xFFFF, 1, 3, 0, 1, 2, 1, 2, 2, 3, 1});
    ObjectStore store;
    ImportLightWaveBytes(LwoFile("LWOB", Chunk("PNTS", kSquare) + Chunk("POLS", polygons)), "d",
                         store);
    ASSERT_EQ(store.objects.GetCount(), 1);
    EXPECT_EQ(SplineEnds(*store.objects.GetHead()), (Ends{{2, 3}, {0, 1}, {1, 2}, {2, 0}, {3, 0}}));
}

TEST(LightWaveReaderTest, LwobReadsEveryPolygonChunkAndOddChunkPadding) {
    const std::string file = LwoFile("LWOB", Chunk("SRFS", "abc") + Chunk("PNTS", kSquare) +
                                                 Chunk("POLS", Words({2, 0, 1, 1})) +
                                                 Chunk("PCHS", Words({3, 1, 2, 3, 1})));
    ObjectStore store;
    ImportLightWaveBytes(file, "p", store);
    ASSERT_EQ(store.objects.GetCount(), 1);
    EXPECT_EQ(SplineEnds(*store.objects.GetHead()), (Ends{{0, 1}, {1, 2}, {2, 3}, {3, 1}}));
}

TEST(LightWaveReaderTest, Lwo2LayersBecomeObjects) {
    const std::string file = LwoFile(
        "LWO2", Chunk("TAGS", std::string("Default\0", 8)) + Chunk("LAYR", LayerData("a")) +
                    Chunk("PNTS", kSquare) + FacePolygons(Words({3, 0, 1, 2})) +
                    Chunk("LAYR", LayerData("b")) + Chunk("PNTS", Points({5, 5, 5, 6, 5, 5})) +
                    FacePolygons(Words({2, 1, 0})));
    ObjectStore store;
    const ImportResult result = ImportLightWaveBytes(file, "title", store);
    EXPECT_EQ(result.objectsAdded, 2);
    EXPECT_EQ(NamesOf(store), (std::vector<std::string>{"a", "b"}));
    const auto objects = ObjectsOf(store);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]->colour, 0xFFFFFFu);
    EXPECT_EQ(objects[1]->colour, 0xFFFFFFu);
    EXPECT_EQ(objects[0]->PointCount(), 4);
    EXPECT_EQ(objects[0]->SplineCount(), 3);
    ASSERT_EQ(objects[1]->PointCount(), 2);
    EXPECT_EQ(PointAt(*objects[1], 0).x, 5.0f);
    EXPECT_EQ(SplineEnds(*objects[1]), (Ends{{1, 0}}));
}

TEST(LightWaveReaderTest, Lwo2UnnamedLayersTakeTheFileTitle) {
    ObjectStore store;
    ImportLightWaveBytes(LwoFile("LWO2", Chunk("LAYR", LayerData("")) + Chunk("PNTS", kSquare)),
                         "title", store);
    EXPECT_EQ(NamesOf(store), std::vector<std::string>{"title"});

    ObjectStore noLayer;
    ImportLightWaveBytes(LwoFile("LWO2", Chunk("PNTS", kSquare)), "bare", noLayer);
    EXPECT_EQ(NamesOf(noLayer), std::vector<std::string>{"bare"});
    EXPECT_EQ(noLayer.objects.GetHead()->PointCount(), 4);

    ObjectStore nameWithBlank;
    ImportLightWaveBytes(LwoFile("LWO2", Chunk("LAYR", LayerData("left arm"))), "t", nameWithBlank);
    EXPECT_EQ(NamesOf(nameWithBlank), std::vector<std::string>{"left"});
}

TEST(LightWaveReaderTest, Lwo2PolygonKinds) {
    const std::string polygons = Words({5, 0, 1, 2, 3, 0, 2, 0, 2, 1, 3}) +
                                 Words({0x8003, 1, 2, 3}) +  // flag bits in the count word
                                 Words({3, 0}) + std::string("\xFF\x00\x00\x03", 4) + Words({2});
    const std::string file = LwoFile("LWO2", Chunk("PNTS", kSquare) + FacePolygons(polygons) +
                                                 Chunk("POLS", "CURV" + Words({2, 0, 3})) +
                                                 Chunk("POLS", "PTCH" + Words({2, 1, 3})));
    ObjectStore store;
    const ImportResult result = ImportLightWaveBytes(file, "k", store);
    EXPECT_EQ(result.droppedFaces, 0);
    EXPECT_EQ(result.outlineFaces, 1);
    ASSERT_EQ(store.objects.GetCount(), 1);
    // The pentagon's outline (its closing side from 0 to 0 makes no line), then the two lines;
    // the triangles add nothing new.
    EXPECT_EQ(SplineEnds(*store.objects.GetHead()),
              (Ends{{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}, {1, 3}}));
}

TEST(LightWaveReaderTest, VertexIndex40000IsValid) {
    std::string points;
    for (int i = 0; i <= 40000; ++i) {
        points += Points({static_cast<float>(i), 0, 0});
    }
    ObjectStore store;
    const ImportResult result = ImportLightWaveBytes(
        LwoFile("LWO2", Chunk("PNTS", points) + FacePolygons(Words({2, 0, 40000}))), "big", store);
    EXPECT_EQ(result.droppedFaces, 0);
    ASSERT_EQ(store.objects.GetCount(), 1);
    PatchObject& object = *store.objects.GetHead();
    EXPECT_EQ(SplineEnds(object), (Ends{{0, 40000}}));
    EXPECT_EQ(PointAt(object, 40000).x, 40000.0f);
}

TEST(LightWaveReaderTest, PolygonsWithIndicesOutOfRangeAreDroppedAndCounted) {
    const std::string file =
        LwoFile("LWO2", Chunk("LAYR", LayerData("first")) + Chunk("PNTS", kSquare) +
                            FacePolygons(Words({3, 0, 1, 4, 3, 0, 1, 2})) +
                            Chunk("LAYR", LayerData("second")) + Chunk("PNTS", Points({0, 0, 0})) +
                            FacePolygons(Words({2, 0, 1})));
    ObjectStore store;
    const ImportResult result = ImportLightWaveBytes(file, "r", store);
    EXPECT_EQ(result.droppedFaces, 2);
    const auto objects = ObjectsOf(store);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]->SplineCount(), 3);
    EXPECT_EQ(objects[1]->SplineCount(), 0);
}

TEST(LightWaveReaderTest, ChunkRunningPastTheEndEndsTheReading) {
    const std::string head =
        LwoFile("LWO2", Chunk("LAYR", LayerData("kept")) + Chunk("PNTS", kSquare) +
                            FacePolygons(Words({2, 0, 1})));
    for (const std::uint32_t size : {0xFFFFFFFFu, 0x7FFFFFFFu, 400u}) {
        const std::string file = head + "PNTS" + testing::BigEndian(size, 4) + kSquare;
        ObjectStore store;
        const ImportResult result = ImportLightWaveBytes(file, "t", store);
        EXPECT_TRUE(result.truncated) << size;
        ASSERT_EQ(store.objects.GetCount(), 1) << size;
        EXPECT_EQ(store.objects.GetHead()->name, "kept");
        EXPECT_EQ(store.objects.GetHead()->PointCount(), 4) << size;
        EXPECT_EQ(store.objects.GetHead()->SplineCount(), 1) << size;
    }
}

TEST(LightWaveReaderTest, OtherFormTypesAreRefused) {
    const std::string files[] = {LwoFile("LWO4", Chunk("PNTS", kSquare)), LwoFile("ILBM", ""),
                                 "FORM", std::string("FORM\0\0\0\4LWO", 11), ""};
    for (const std::string& file : files) {
        ObjectStore store;
        EXPECT_EQ(ImportLightWaveBytes(file, "x", store).status, ImportStatus::kNotThatFormat);
        EXPECT_TRUE(store.objects.IsEmpty());
    }
}

TEST(LightWaveReaderTest, NanCoordinatesPassThrough) {
    ObjectStore store;
    ImportLightWaveBytes(LwoFile("LWOB", Chunk("PNTS", Points({NAN, INFINITY, 0, 1, 1, 1})) +
                                             Chunk("POLS", Words({2, 0, 1, 1}))),
                         "n", store);
    ASSERT_EQ(store.objects.GetCount(), 1);
    const PatchObject& object = *store.objects.GetHead();
    EXPECT_TRUE(std::isnan(PointAt(object, 0).x));
    EXPECT_EQ(PointAt(object, 0).y, INFINITY);
    EXPECT_EQ(object.SplineCount(), 1);
}

}  // namespace
}  // namespace korvane
