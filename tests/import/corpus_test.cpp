#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "document/object_store.h"
#include "import/lightwave_reader.h"
#include "import/metasequoia_parser.h"
#include "import/metasequoia_reader.h"
#include "import_test_support.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

// What a model file says about one of its objects, read independently of the readers.
struct ExpectedObject {
    std::string name;
    std::int32_t vertices = 0;
    std::int32_t triangles = 0;
    std::int32_t quads = 0;
    bool modified = false;  // mirror or lathe set: the object gains vertices on import
};

std::vector<fs::path> CorpusFiles(const std::string& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(KORVANE_CORPUS_DIR) / folder)) {
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string Trimmed(const std::string& line) {
    const auto first = line.find_first_not_of(" \t\r");
    return first == std::string::npos ? "" : line.substr(first);
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Line by line: `Object "name" {`, `vertex N {`, `mirror N`, `lathe N`, face lines `3 V(`.
std::vector<ExpectedObject> ScanMqoText(const std::string& text) {
    std::vector<ExpectedObject> objects;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const std::string item = Trimmed(line);
        if (StartsWith(item, "Object \"")) {
            objects.push_back({item.substr(8, item.find('"', 8) - 8)});
        } else if (objects.empty()) {
            continue;
        } else if (StartsWith(item, "vertex ")) {
            objects.back().vertices = std::stoi(item.substr(7));
        } else if ((StartsWith(item, "mirror ") || StartsWith(item, "lathe ")) &&
                   item.find_first_of("123456789") != std::string::npos) {
            objects.back().modified = true;
        } else if (StartsWith(item, "3 V(")) {
            ++objects.back().triangles;
        } else if (StartsWith(item, "4 V(")) {
            ++objects.back().quads;
        }
    }
    return objects;
}

std::uint32_t BigEndian32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// Walks the IFF chunks: one object per LAYR (LWO2), or one for the whole file (LWOB); points
// counted from the PNTS sizes.
std::vector<ExpectedObject> ScanLwoChunks(const std::string& bytes, const std::string& title) {
    std::vector<ExpectedObject> objects(1, ExpectedObject{title});
    bool layerSeen = false;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const std::uint32_t size = BigEndian32(bytes, at + 4);
        if (id == "LAYR") {
            if (layerSeen) {
                objects.push_back({});
            }
            layerSeen = true;
            const std::string name = bytes.substr(at + 8 + 16).c_str();
            objects.back().name = name.empty() ? title : name;
        } else if (id == "PNTS") {
            objects.back().vertices += static_cast<std::int32_t>(size / 12);
        }
        at += 8 + size + size % 2;
    }
    return objects;
}

class CorpusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fs::is_directory(KORVANE_CORPUS_DIR)) {
            GTEST_SKIP() << "no corpus at " << KORVANE_CORPUS_DIR;
        }
    }
};

TEST_F(CorpusTest, MetasequoiaFilesImportAsTheirTextSays) {
    const auto files = CorpusFiles("mqo");
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::string text = testing::ReadWholeFile(file.string());
        const std::vector<ExpectedObject> expected = ScanMqoText(text);
        ASSERT_FALSE(expected.empty());

        std::vector<ExpectedObject> parsed;
        ParseMetasequoia(text, [&parsed](PolyMesh& mesh) {
            parsed.push_back(
                {mesh.name, mesh.vertexCount(), mesh.triangles.count(), mesh.quads.count(), false});
        });
        ObjectStore store;
        const ImportResult result = ImportMetasequoia(file.string(), store);
        EXPECT_EQ(result.status, ImportStatus::kImported);
        EXPECT_FALSE(result.truncated);
        EXPECT_EQ(result.droppedFaces, 0);
        ASSERT_EQ(parsed.size(), expected.size());
        const auto objects = testing::ObjectsOf(store);
        ASSERT_EQ(objects.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(parsed[i].name, expected[i].name);
            EXPECT_EQ(parsed[i].vertices, expected[i].vertices) << expected[i].name;
            EXPECT_EQ(parsed[i].triangles, expected[i].triangles) << expected[i].name;
            EXPECT_EQ(parsed[i].quads, expected[i].quads) << expected[i].name;
            EXPECT_EQ(objects[i]->name, expected[i].name);
            if (expected[i].modified) {
                EXPECT_GT(objects[i]->PointCount(), expected[i].vertices);
            } else {
                EXPECT_EQ(objects[i]->PointCount(), expected[i].vertices);
            }
        }
    }
}

TEST_F(CorpusTest, MikuHasSeventeenObjects) {
    ObjectStore store;
    const std::string path = std::string(KORVANE_CORPUS_DIR) + "/mqo/miku.mqo";
    EXPECT_EQ(ImportMetasequoia(path, store).objectsAdded, 17);
    EXPECT_EQ(store.objects.GetCount(), 17);
    EXPECT_EQ(store.objects.GetTail()->name, "miku17");
}

TEST_F(CorpusTest, LightWaveFilesImportAsTheirChunksSay) {
    const auto files = CorpusFiles("lwo");
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::string title = file.stem().string();
        const std::vector<ExpectedObject> expected =
            ScanLwoChunks(testing::ReadWholeFile(file.string()), title);
        ObjectStore store;
        const ImportResult result = ImportLightWave(file.string(), title, store);
        EXPECT_EQ(result.status, ImportStatus::kImported);
        EXPECT_FALSE(result.truncated);
        EXPECT_EQ(result.droppedFaces, 0);
        const auto objects = testing::ObjectsOf(store);
        ASSERT_EQ(objects.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(objects[i]->name, expected[i].name);
            EXPECT_EQ(objects[i]->PointCount(), expected[i].vertices);
        }
    }
}

TEST_F(CorpusTest, LightWaveLayersAndPolygonKinds) {
    const std::string folder = std::string(KORVANE_CORPUS_DIR) + "/lwo/";
    ObjectStore hierarchy;
    ImportLightWave(folder + "LWO2_hierarchy.lwo", "LWO2_hierarchy", hierarchy);
    EXPECT_EQ(testing::NamesOf(hierarchy),
              (std::vector<std::string>{"ChildOfRoot0", "RootOfHierarchy", "GrandChildOfRoot0",
                                        "ChildOfRoot1"}));
    ObjectStore subdivision;
    ImportLightWave(folder + "LWO2_Subdivision.lwo", "LWO2_Subdivision", subdivision);
    ASSERT_EQ(subdivision.objects.GetCount(), 1);
    EXPECT_EQ(subdivision.objects.GetHead()->name, "LWO2_Subdivision");
    EXPECT_EQ(subdivision.objects.GetHead()->PointCount(), 26);
    EXPECT_GT(subdivision.objects.GetHead()->SplineCount(), 0);
    // Its one polygon has 66 corners over 64 points; the outline keeps its 65 distinct sides.
    ObjectStore concave;
    const ImportResult result =
        ImportLightWave(folder + "LWOB_ConcavePolygon.lwo", "LWOB_ConcavePolygon", concave);
    EXPECT_EQ(result.outlineFaces, 1);
    ASSERT_EQ(concave.objects.GetCount(), 1);
    EXPECT_EQ(concave.objects.GetHead()->PointCount(), 64);
    EXPECT_EQ(concave.objects.GetHead()->SplineCount(), 65);
}

}  // namespace
}  // namespace korvane
