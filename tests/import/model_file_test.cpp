#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "document/object_store.h"
#include "import/lightwave_reader.h"
#include "import/metasequoia_reader.h"
#include "import/model_format.h"
#include "import_test_support.h"
#include "lwo_bytes.h"

namespace korvane {
namespace {

using testing::NamesOf;

std::string WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = ::testing::TempDir() + "/" + name;
    std::filesystem::remove(path);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST(ModelFileTest, ReadOnlyFilesImport) {
    const std::string path =
        WriteFile("read_only.mqo", testing::ReadWholeFile(testing::kSampleMqoPath));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    ObjectStore store;
    const ImportResult result = ImportMetasequoia(path, store);
    EXPECT_EQ(result.status, ImportStatus::kImported);
    EXPECT_EQ(NamesOf(store), (std::vector<std::string>{"box", "half", "vase"}));
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

TEST(ModelFileTest, SampleFileImportsCompletely) {
    ObjectStore store;
    const ImportResult result = ImportMetasequoia(testing::kSampleMqoPath, store);
    EXPECT_EQ(result.objectsAdded, 3);
    EXPECT_EQ(result.droppedFaces, 0);
    EXPECT_EQ(result.outlineFaces, 1);
    EXPECT_FALSE(result.truncated);
    const auto objects = testing::ObjectsOf(store);
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[0]->colour, 32767u);
    EXPECT_EQ(objects[0]->PointCount(), 5);
    EXPECT_EQ(objects[0]->SplineCount(), 7);  // the pentagon's outline adds (3, 4)
    EXPECT_EQ(objects[1]->PointCount(), 6);
    EXPECT_EQ(objects[2]->PointCount(), 8);
    EXPECT_EQ(objects[2]->SplineCount(), 12);
}

TEST(ModelFileTest, UnopenablePathsAreReported) {
    const std::string folder = ::testing::TempDir() + "/a_folder.mqo";
    std::filesystem::create_directories(folder);
    const std::vector<std::pair<std::string, ImportStatus>> cases = {
        {folder, ImportStatus::kNotRegularFile},
        {folder + "/missing.mqo", ImportStatus::kCannotOpen},
        {std::string(), ImportStatus::kCannotOpen},
    };
    for (const auto& [path, status] : cases) {
        ObjectStore store;
        EXPECT_EQ(ImportMetasequoia(path, store).status, status) << path;
        EXPECT_EQ(ImportLightWave(path, "t", store).status, status) << path;
        EXPECT_TRUE(store.objects.IsEmpty());
    }
}

TEST(ModelFileTest, LightWaveFileImportsUnderItsTitle) {
    const std::string path = WriteFile(
        "plate.lwo",
        testing::LwoFile("LWOB", testing::Chunk("PNTS", testing::Points({0, 0, 0, 1, 0, 0}))));
    ObjectStore store;
    const ImportResult result = ImportLightWave(path, "plate", store);
    EXPECT_EQ(result.status, ImportStatus::kImported);
    EXPECT_EQ(NamesOf(store), std::vector<std::string>{"plate"});
    EXPECT_EQ(store.objects.GetHead()->PointCount(), 2);

    ObjectStore wrongReader;
    EXPECT_EQ(ImportMetasequoia(path, wrongReader).status, ImportStatus::kNotThatFormat);
    EXPECT_TRUE(wrongReader.objects.IsEmpty());
}

TEST(ModelFileTest, FormatIsDetectedFromTheFirstBytes) {
    EXPECT_EQ(DetectModelFormat("Metasequoia Document\r\n"), ModelFormat::kMetasequoia);
    EXPECT_EQ(DetectModelFormat(" \r\n\tMetasequoia"), ModelFormat::kMetasequoia);
    EXPECT_EQ(DetectModelFormat("MetasequoiaDocument"), ModelFormat::kUnknown);
    EXPECT_EQ(DetectModelFormat("Metaseq"), ModelFormat::kUnknown);
    EXPECT_EQ(DetectModelFormat(testing::LwoFile("LWOB", "")), ModelFormat::kLightWave);
    EXPECT_EQ(DetectModelFormat(testing::LwoFile("LWO2", "")), ModelFormat::kLightWave);
    EXPECT_EQ(DetectModelFormat(testing::LwoFile("LWO3", "")), ModelFormat::kLightWave);
    EXPECT_EQ(DetectModelFormat(testing::LwoFile("LWO4", "")), ModelFormat::kUnknown);
    EXPECT_EQ(DetectModelFormat(std::string_view("RIFF\0\0\0\0LWO2", 12)), ModelFormat::kUnknown);
    EXPECT_EQ(DetectModelFormat("FORM"), ModelFormat::kUnknown);
    EXPECT_EQ(DetectModelFormat(""), ModelFormat::kUnknown);
    EXPECT_EQ(DetectModelFormat("\x0B"
                                "object_info"),
              ModelFormat::kRuvoPatch);
    EXPECT_EQ(DetectModelFormat("\x0B"
                                "object_info\x01\0\0\0"),
              ModelFormat::kRuvoPatch);
    EXPECT_EQ(DetectModelFormat("\x0B"
                                "object_inf"),
              ModelFormat::kUnknown);
    EXPECT_EQ(DetectModelFormat("\x0C"
                                "object_info "),
              ModelFormat::kUnknown);
    EXPECT_EQ(DetectModelFormat("object_info"), ModelFormat::kUnknown);
    EXPECT_EQ(DetectModelFormat("\x0B"
                                "Object_info"),
              ModelFormat::kUnknown);
}

}  // namespace
}  // namespace korvane
