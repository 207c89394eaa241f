#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "document/object_store.h"
#include "import/lightwave_reader.h"
#include "import/metasequoia_reader.h"
#include "import_test_support.h"
#include "lwo_bytes.h"

namespace korvane {
namespace {

using testing::ObjectsOf;

using Importer = ImportResult (*)(std::string_view bytes, ObjectSink& sink);

ImportResult ImportLightWaveTitled(std::string_view bytes, ObjectSink& sink) {
    return ImportLightWaveBytes(bytes, "title", sink);
}

std::string TwoLayerLwo2() {
    using namespace testing;
    return LwoFile(
        "LWO2", Chunk("TAGS", std::string("Default\0", 8)) + Chunk("LAYR", LayerData("front")) +
                    Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0})) +
                    Chunk("BBOX", Points({0, 0, 0, 1, 1, 0})) +
                    Chunk("POLS", "FACE" + Words({4, 0, 1, 2, 3, 3, 0, 1, 2})) +
                    Chunk("PTAG", "SURF" + Words({0, 0, 1, 0})) + Chunk("LAYR", LayerData("back")) +
                    Chunk("PNTS", Points({0, 0, 1, 1, 0, 1, 1, 1, 1})) +
                    Chunk("POLS", "PTCH" + Words({3, 0, 1, 2, 2, 0, 2})));
}

std::string SmallLwob() {
    using namespace testing;
    return LwoFile("LWOB",
                   Chunk("SRFS", std::string("Skin\0", 5)) +
                       Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0})) +
                       Chunk("POLS", Words({4, 0, 1, 2, 3, 1, 3, 0, 1, 2, 0xFFFF, 1, 2, 2, 3, 1})));
}

// Cuts the file after every byte: objects completed before the cut come out as from the whole
// file, the count of objects never falls as the cut moves on, and nothing crashes or hangs.
void ExpectEveryPrefixImports(const std::string& whole, Importer import) {
    ObjectStore full;
    ASSERT_FALSE(import(whole, full).truncated);
    const auto fullObjects = ObjectsOf(full);
    std::int32_t previousCount = 0;
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        ObjectStore store;
        const ImportResult result = import(std::string_view(whole).substr(0, length), store);
        ASSERT_EQ(result.objectsAdded, store.objects.GetCount()) << length;
        ASSERT_GE(result.objectsAdded, previousCount) << length;
        ASSERT_LE(result.objectsAdded, full.objects.GetCount()) << length;
        previousCount = result.objectsAdded;
        const auto objects = ObjectsOf(store);
        for (std::size_t i = 0; i + 1 < objects.size(); ++i) {
            EXPECT_EQ(objects[i]->name, fullObjects[i]->name) << length;
            EXPECT_EQ(objects[i]->PointCount(), fullObjects[i]->PointCount()) << length;
            EXPECT_EQ(objects[i]->SplineCount(), fullObjects[i]->SplineCount()) << length;
        }
    }
    EXPECT_EQ(previousCount, full.objects.GetCount());
}

// Overwrites a few bytes of the file, preferring bytes that steer the readers (digits, braces,
// blanks, 0xFF, NUL), and cuts it now and then. Deterministic.
void ExpectMutationsImport(const std::string& original, Importer import) {
    static constexpr char kSteering[] = "0123456789{}()\" \n\r\t-.e\xff\x7f";
    std::uint32_t state = 12345;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = original;
        const std::uint32_t changes = 1 + next() % 8;
        for (std::uint32_t c = 0; c < changes; ++c) {
            const std::uint32_t at = next() % bytes.size();
            const std::uint32_t pick = next();
            bytes[at] = pick % 2 == 0 ? kSteering[pick / 2 % (sizeof kSteering - 1)]
                                      : static_cast<char>(pick / 2);
        }
        if (next() % 4 == 0) {
            bytes.resize(next() % bytes.size());
        }
        ObjectStore store;
        const ImportResult result = import(bytes, store);
        ASSERT_EQ(result.objectsAdded, store.objects.GetCount()) << round;
        ASSERT_GE(result.droppedFaces, 0) << round;
    }
}

TEST(DamagedInputTest, MetasequoiaCutAtEveryByte) {
    ExpectEveryPrefixImports(testing::ReadWholeFile(testing::kSampleMqoPath),
                             ImportMetasequoiaBytes);
}

TEST(DamagedInputTest, LightWaveCutAtEveryByte) {
    ExpectEveryPrefixImports(TwoLayerLwo2(), ImportLightWaveTitled);
    ExpectEveryPrefixImports(SmallLwob(), ImportLightWaveTitled);
    ExpectEveryPrefixImports(testing::TwoLayerModel("LWO3"), ImportLightWaveTitled);
}

TEST(DamagedInputTest, MetasequoiaMutations) {
    ExpectMutationsImport(testing::ReadWholeFile(testing::kSampleMqoPath), ImportMetasequoiaBytes);
}

TEST(DamagedInputTest, LightWaveMutations) {
    ExpectMutationsImport(TwoLayerLwo2(), ImportLightWaveTitled);
    ExpectMutationsImport(SmallLwob(), ImportLightWaveTitled);
    ExpectMutationsImport(testing::TwoLayerModel("LWO3"), ImportLightWaveTitled);
}

}  // namespace
}  // namespace korvane
