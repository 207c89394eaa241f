#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "document/object_store.h"
#include "import/lightwave_reader.h"
#include "import_test_support.h"
#include "lwo_bytes.h"

// LWO3, the layout LightWave saves since 2015, read beside the LWO2 layout whose geometry chunks
// it shares.

namespace korvane {
namespace {

using testing::BigEndian;
using testing::TwoLayerModel;

// What the reader decides about an object: name, colour, coordinates by bit pattern, and the
// points of each spline in order (handles follow from these).
std::string Fingerprint(const PatchObject& object) {
    std::string print = object.name + "|" + std::to_string(object.colour) + "|";
    for (const PatchVec3& point : object.Points()) {
        for (const float value : {point.x, point.y, point.z}) {
            print += std::to_string(std::bit_cast<std::uint32_t>(value)) + ",";
        }
    }
    for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
        print += object.Closed(spline) ? "|spline closed" : "|spline open";
        for (const SplineNode& node : object.SplineNodes(spline)) {
            print += " " + std::to_string(node.controlPoint);
        }
    }
    return print;
}

struct Imported {
    ImportResult result;
    std::vector<std::string> objects;  // fingerprints, in file order
};

Imported Import(std::string_view bytes) {
    ObjectStore store;
    Imported imported{ImportLightWaveBytes(bytes, "title", store), {}};
    for (PatchObject* object : testing::ObjectsOf(store)) {
        imported.objects.push_back(Fingerprint(*object));
    }
    return imported;
}

TEST(Lwo3Test, ReadsAsTheSameModelInLwo2) {
    const Imported lwo2 = Import(TwoLayerModel("LWO2"));
    const Imported lwo3 = Import(TwoLayerModel("LWO3"));
    EXPECT_EQ(lwo3.result.status, ImportStatus::kImported);
    EXPECT_FALSE(lwo3.result.truncated);
    EXPECT_EQ(lwo3.result.droppedFaces, 0);
    ASSERT_EQ(lwo3.objects.size(), 2u);
    EXPECT_EQ(lwo3.objects[0].rfind("front|", 0), 0u);
    EXPECT_EQ(lwo3.objects[1].rfind("title|", 0), 0u);  // the unnamed layer
    EXPECT_EQ(lwo3.objects, lwo2.objects);
}

std::string WithSizeAt(std::string file, std::size_t at, std::uint32_t size) {
    return file.replace(at, 4, BigEndian(size, 4));
}

TEST(Lwo3Test, DamagedFilesImportWhatTheyHold) {
    const std::string whole = TwoLayerModel("LWO3");
    const Imported intact = Import(whole);
    ASSERT_EQ(intact.objects.size(), 2u);
    const std::size_t surface = whole.find("SURF    ") - 8;  // the nested surface form
    const std::size_t secondLayer = whole.find("LAYR", whole.find("LAYR") + 4);
    const std::size_t secondPoints = whole.find("PNTS", secondLayer);
    const std::string envelope = testing::NestedForm(
        "ENVL", testing::Chunk("    ", BigEndian(0, 4)) + testing::Chunk("PRE ", BigEndian(1, 2)));
    struct Case {
        const char* name;
        std::string bytes;
        bool truncated;
        std::size_t intactObjects;  // objects that come out as from the whole file
    };
    const Case cases[] = {
        {"envelope form between the layers", std::string(whole).insert(secondLayer, envelope),
         false, 2},
        {"form size past the end", WithSizeAt(whole, 4, 0xFFFFFFFF), false, 2},
        {"form size of the type alone", WithSizeAt(whole, 4, 4), false, 2},
        {"form size 0", WithSizeAt(whole, 4, 0), false, 2},
        {"surface form past the end", WithSizeAt(whole, surface + 4, 0x7FFFFFF0), true, 2},
        {"surface form one byte past the end",
         WithSizeAt(whole, surface + 4, static_cast<std::uint32_t>(whole.size() - surface - 7)),
         true, 2},
        {"node form past its surface", WithSizeAt(whole, whole.find("NODS") - 4, 0x7FFFFFF0), false,
         2},
        {"clip form past the end", WithSizeAt(whole, whole.find("CLIP") - 4, 0xFFFFFFFF), true, 2},
        {"cut inside the second layer's points", whole.substr(0, secondPoints + 20), true, 1},
        {"cut inside a nested form's header", whole.substr(0, surface + 6), true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Imported damaged = Import(c.bytes);
        EXPECT_EQ(damaged.result.status, ImportStatus::kImported);
        EXPECT_EQ(damaged.result.truncated, c.truncated);
        ASSERT_EQ(damaged.objects.size(), 2u);  // an object cut short is still handed over
        for (std::size_t i = 0; i < c.intactObjects; ++i) {
            EXPECT_EQ(damaged.objects[i], intact.objects[i]) << i;
        }
        if (c.intactObjects < 2) {
            EXPECT_NE(damaged.objects[1], intact.objects[1]);
        }
    }
}

// The same three-layer model as LightWave 2015 saved it and as LWO2, whose layers come in another
// order. The layers are unnamed, so every object takes the title: they are matched by name and
// then by content.
TEST(Lwo3Test, CorpusModelReadsAsItsLwo2Copy) {
    const std::filesystem::path folder = std::filesystem::path(KORVANE_CORPUS_DIR) / "lwo3";
    if (!std::filesystem::is_directory(folder)) {
        GTEST_SKIP() << "no corpus at " << folder;
    }
    Imported lwo3 = Import(testing::ReadWholeFile((folder / "box3-uv-layers.lwo").string()));
    Imported lwo2 = Import(testing::ReadWholeFile((folder / "box3-uv-layers.lwo2.lwo").string()));
    for (const Imported* imported : {&lwo3, &lwo2}) {
        EXPECT_EQ(imported->result.status, ImportStatus::kImported);
        EXPECT_FALSE(imported->result.truncated);
        EXPECT_EQ(imported->result.droppedFaces, 0);
        ASSERT_EQ(imported->objects.size(), 3u);
        for (const std::string& object : imported->objects) {
            EXPECT_NE(object.find("|spline"), std::string::npos);
        }
    }
    EXPECT_NE(lwo3.objects, lwo2.objects);  // file order differs
    std::sort(lwo3.objects.begin(), lwo3.objects.end());
    std::sort(lwo2.objects.begin(), lwo2.objects.end());
    EXPECT_EQ(lwo3.objects, lwo2.objects);
}

}  // namespace
}  // namespace korvane
