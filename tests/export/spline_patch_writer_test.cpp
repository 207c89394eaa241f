#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "document/object_store.h"
#include "export/animation_master_writer.h"
#include "export/export_formats.h"
#include "export/spatch_writer.h"
#include "patch/patch_builder.h"
#include "support/found_patches.h"
#include "support/generated_network.h"
#include "support/mdl_reader.h"
#include "support/network_builder.h"
#include "support/spt_reader.h"
#include "tools/modelgen/model_shapes.h"

// The two spline-patch writers at the edges: names the format cannot hold, objects with nothing
// to write, segments of no length, an empty document, and writes that fail.

namespace korvane {
namespace {

namespace fs = std::filesystem;
using testing::NetworkBuilder;

std::optional<testing::MdlFile> ReadMdl(const ObjectList<PatchObject>& objects) {
    testing::MdlReader reader(SerializeAnimationMaster(testing::WithPatches(objects)));
    std::optional<testing::MdlFile> file = reader.Read();
    EXPECT_TRUE(file) << reader.error();
    if (file) {
        const std::vector<std::string> problems = testing::MdlProblems(*file);
        EXPECT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems[0];
    }
    return file;
}

std::optional<testing::SptFile> ReadSpt(const ObjectList<PatchObject>& objects) {
    testing::SptReader reader(SerializeSPatch(objects));
    std::optional<testing::SptFile> file = reader.Read();
    EXPECT_TRUE(file) << reader.error();
    if (file) {
        const std::vector<std::string> problems = testing::SptProblems(*file);
        EXPECT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems[0];
    }
    return file;
}

// A square of four points and four curves round one patch, and a fifth point on no curve.
void Square(PatchObject& object) {
    NetworkBuilder build(object);
    for (const auto& [x, y] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}, {5, 5}}) {
        build.Point(static_cast<float>(x), static_cast<float>(y), 0.0f);
    }
    for (int corner = 0; corner < 4; ++corner) {
        build.Curve({corner, (corner + 1) % 4});
    }
    ComputeHandles(object);
}

TEST(ExportFormatsTest, TheExtensionNamesTheFormatInAnyCase) {
    const std::pair<const char*, std::optional<ExportFormat>> names[] = {
        {"model.mdl", ExportFormat::kAnimationMaster},
        {"/a/b/MODEL.MDL", ExportFormat::kAnimationMaster},
        {"x.Spt", ExportFormat::kSPatch},
        {"model.spt.rvp", ExportFormat::kRuvoPatch},
        {".rvp", ExportFormat::kRuvoPatch},
        {"a.b/c.GLTF", ExportFormat::kSurfaceMesh},
        {"surface.Obj", ExportFormat::kSurfaceMesh},
        {"folder.mdl/model", std::nullopt},
        {"mdl", std::nullopt},
        {"model.mdlx", std::nullopt},
        {"model.", std::nullopt},
        {"/dev/stdout", std::nullopt}};
    for (const auto& [name, format] : names) {
        EXPECT_EQ(ExportFormatOf(name), format) << name;
    }
}

// A:M holds one value per line: control bytes would break the line and become '_'; other bytes
// (Shift_JIS, UTF-8) stay as read; an empty name takes the object's place in the document.
TEST(AnimationMasterWriterTest, GroupNamesKeepTheirBytesOnOneLine) {
    const std::pair<std::string, std::string> names[] = {{"head", "head"},
                                                         {"\x83\x7E\x83\x4E", "\x83\x7E\x83\x4E"},
                                                         {"\xE6\x9B\xB2", "\xE6\x9B\xB2"},
                                                         {"a\nb\r\tc\x7F", "a_b__c_"},
                                                         {std::string("x\0y", 3), "x_y"},
                                                         {"", "object6"},
                                                         {"</GROUP>", "</GROUP>"}};
    ObjectStore store;
    for (const auto& [name, expected] : names) {
        PatchObject& object = *store.AddObject();
        Square(object);
        object.name = name;
    }
    const std::optional<testing::MdlFile> file = ReadMdl(store.objects);
    ASSERT_TRUE(file);
    ASSERT_EQ(file->groups.size(), std::size(names));
    for (std::size_t k = 0; k < std::size(names); ++k) {
        EXPECT_EQ(file->groups[k].name, names[k].second) << k;
    }
}

// Objects without curves leave nothing behind in either file, and neither do points on no curve;
// the objects after them are numbered on without a gap.
TEST(SplinePatchWritersTest, OnlyPointsOnCurvesAndObjectsWithCurvesAreWritten) {
    ObjectStore store;
    PatchObject& dots = *store.AddObject();
    dots.AddControlPoint(PatchVec3(1, 2, 3));
    dots.IndexReferences();
    store.AddObject();  // empty
    PatchObject& square = *store.AddObject();
    Square(square);
    square.colour = 0x0000FF;

    const std::optional<testing::MdlFile> mdl = ReadMdl(store.objects);
    ASSERT_TRUE(mdl);
    ASSERT_EQ(mdl->groups.size(), 1u);
    EXPECT_EQ(mdl->groups[0].name, "object3");
    EXPECT_EQ(mdl->groups[0].cps, (std::vector<std::int64_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(mdl->groups[0].colour, (testing::MdlColour{255, 0, 0}));
    ASSERT_EQ(mdl->splines.size(), 4u);
    ASSERT_EQ(mdl->patches.size(), 1u);
    EXPECT_EQ(mdl->patches[0].attribute, 1);
    EXPECT_EQ(mdl->attributes.size(), 2u);

    const std::optional<testing::SptFile> spt = ReadSpt(store.objects);
    ASSERT_TRUE(spt);
    EXPECT_EQ(spt->points.size(), 4u);
    EXPECT_EQ(spt->curves.size(), 4u);
}

// Points that lie on one another, or nowhere (a damaged model's): every number stays finite, a
// curvature over no distance is the node's tension, and a patch collapsed to one point still gets
// a unit normal.
TEST(SplinePatchWritersTest, SegmentsOfNoLengthWriteFiniteNumbers) {
    ObjectStore store;
    PatchObject& object = *store.AddObject();
    NetworkBuilder build(object);
    for (int i = 0; i < 3; ++i) {
        build.Point(0.0f, 0.0f, 0.0f);
    }
    build.Point(1.0f, 0.0f, 0.0f);
    build.Point(1.0f, 0.0f, 0.0f);
    build.Curve({0, 1, 3});
    build.Curve({1, 2});
    build.Curve({2, 0});
    build.Curve({3, 4}, true);
    const float nowhere = std::numeric_limits<float>::quiet_NaN();
    build.Point(nowhere, 1.0f, std::numeric_limits<float>::infinity());
    build.Curve({3, 5});
    ComputeHandles(object);

    const std::string mdlText = SerializeAnimationMaster(testing::WithPatches(store.objects));
    const std::string sptText = SerializeSPatch(store.objects);
    for (const std::string& text : {mdlText, sptText}) {
        std::string lower = text;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        EXPECT_EQ(lower.find("nan"), std::string::npos) << text;
        EXPECT_EQ(lower.find("inf"), std::string::npos) << text;
    }
    const std::optional<testing::MdlFile> mdl = ReadMdl(store.objects);
    ASSERT_TRUE(mdl);
    ASSERT_EQ(mdl->patches.size(), 1u) << "the triangle of points 0, 1, 2";
    EXPECT_TRUE(mdl->patches[0].IsTriangle());

    const std::optional<testing::SptFile> spt = ReadSpt(store.objects);
    ASSERT_TRUE(spt);
    ASSERT_EQ(spt->curves.size(), 5u);
    EXPECT_EQ(spt->points.back().position, (std::array<float, 3>{0.0f, 1.0f, 0.0f}));
    const float tension = SplineNode().tension;
    EXPECT_EQ(spt->curves[0].nodes[0].curvature, tension) << "point 0 to point 1";
    EXPECT_EQ(spt->curves[1].nodes[1].curvature, tension) << "the open end, back to point 1";
    EXPECT_EQ(spt->curves[3].nodes[0].curvature, tension);
    EXPECT_EQ(spt->curves[3].nodes[1].curvature, tension) << "round the closed curve";
}

TEST(SplinePatchWritersTest, AnEmptyDocumentGivesEmptyButWholeFiles) {
    ObjectStore store;
    const std::optional<testing::MdlFile> mdl = ReadMdl(store.objects);
    ASSERT_TRUE(mdl);
    EXPECT_EQ(mdl->models, 1);
    EXPECT_TRUE(mdl->splines.empty());
    EXPECT_TRUE(mdl->groups.empty());
    EXPECT_EQ(mdl->attributes.size(), 1u);
    const std::optional<testing::SptFile> spt = ReadSpt(store.objects);
    ASSERT_TRUE(spt);
    EXPECT_TRUE(spt->points.empty());
    EXPECT_TRUE(spt->curves.empty());
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A failed write reports why and loses nothing: a 64 KB disk of its own (when the tests may
// mount one) with an old file on it, a full device, a folder that is not there.
class FailedWriteTest : public ::testing::TestWithParam<ExportFormat> {
  protected:
    void SetUp() override {
        std::string pattern = (fs::path(::testing::TempDir()) / "korvane-export-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        PatchObject& torus = *store_.AddObject();
        testing::BuildGenerated(modelgen::MakeTorus(40, 40), torus);
        DetectPatches(torus);
    }
    void TearDown() override {
        if (mounted_) {
            umount2((folder_ / "disk").c_str(), MNT_DETACH);
        }
        fs::remove_all(folder_);
    }

    ExportReport Write(const std::string& path) {
        return ExportModelFile(path, store_.objects, {.format = GetParam()});
    }

    fs::path folder_;
    ObjectStore store_;
    bool mounted_ = false;
};

TEST_P(FailedWriteTest, ReportsWhyAndKeepsWhatWasThere) {
    const ExportReport missing = Write((folder_ / "no" / "model.x").string());
    EXPECT_EQ(missing.status, WriteStatus::kCannotCreate);
    EXPECT_NE(missing.error.find("No such file or directory"), std::string::npos) << missing.error;

    struct stat device {};
    if (stat("/dev/full", &device) == 0 && S_ISCHR(device.st_mode)) {
        const ExportReport full = Write("/dev/full");
        EXPECT_EQ(full.status, WriteStatus::kWriteFailed);
        EXPECT_NE(full.error.find("No space left on device"), std::string::npos) << full.error;
        EXPECT_EQ(stat("/dev/full", &device), 0);
        EXPECT_TRUE(S_ISCHR(device.st_mode)) << "still the device";
    }

    const fs::path disk = folder_ / "disk";
    fs::create_directory(disk);
    if (mount("korvane-tiny", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    }
    mounted_ = true;
    const fs::path target = disk / "model";
    const std::string old(20000, 'o');
    std::ofstream(target, std::ios::binary) << old;
    ASSERT_EQ(ReadBytes(target), old);
    const ExportReport tooBig = Write(target.string());
    EXPECT_EQ(tooBig.status, WriteStatus::kWriteFailed);
    EXPECT_NE(tooBig.error.find("No space left on device"), std::string::npos) << tooBig.error;
    EXPECT_EQ(ReadBytes(target), old) << "the old file changed";
    EXPECT_EQ(Entries(disk), std::vector<std::string>{"model"}) << "a temporary file stayed";
}

INSTANTIATE_TEST_SUITE_P(BothFormats, FailedWriteTest,
                         ::testing::Values(ExportFormat::kAnimationMaster, ExportFormat::kSPatch),
                         [](const ::testing::TestParamInfo<ExportFormat>& info) {
                             return info.param == ExportFormat::kAnimationMaster
                                        ? std::string("Mdl")
                                        : std::string("Spt");
                         });

}  // namespace
}  // namespace korvane
