// The network's headers come before OpenCASCADE's, whose Handle macro would otherwise rewrite
// SplineNode::Handle.
#include "document/object_store.h"
#include "export/cad/cad_export.h"
#include "export/cad/network_shape.h"
#include "patch/patch_builder.h"
#include "patch/patch_network_access.h"
#include "support/found_patches.h"
#include "support/generated_network.h"
#include "support/network_builder.h"
#include "support/run_process.h"
#include "tools/modelgen/model_shapes.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>
#include <BRepCheck_Analyzer.hxx>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "cad/cad_readback.h"

// What the export does with patches it cannot write, with nothing to write, and when the file
// cannot be written; and the command-line tool's side of it.

namespace korvane {
namespace {

namespace fs = std::filesystem;

class CadFailureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("korvane-cad-failure-" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    fs::path folder_;
};

struct DegenerateCase {
    const char* label;
    modelgen::GeneratedModel (*make)();
    std::function<void(PatchObject&)> damage;  // moves points; the handles stay as they were
    std::int64_t faces;
    std::int64_t leftOut;
};

// A grid of three quads in two rows of four points (0-3 below, 4-7 above); a fan of six
// triangles about point 0.
modelgen::GeneratedModel ThreeQuads() {
    return modelgen::MakeGrid(3, 1);
}
modelgen::GeneratedModel SixTriangles() {
    return modelgen::MakeFan(6);
}

// A patch with two corners at one place, or with a coordinate that is not a number, is left out
// and counted; the rest is written as a valid shape and reads back. The smooth surfaces leave out
// the same patches.
TEST_F(CadFailureTest, DegeneratePatchesAreLeftOutAndCounted) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const DegenerateCase cases[] = {
        {"nothing damaged", ThreeQuads, [](PatchObject&) {}, 3, 0},
        {"a corner moved onto its neighbour in the first quad", ThreeQuads,
         [](PatchObject& o) {
             PatchNetworkAccess::Points(o)[4] = PatchNetworkAccess::Points(o)[0];
         },
         2, 1},
        {"two quads collapsed along their shared side", ThreeQuads,
         [](PatchObject& o) {
             PatchNetworkAccess::Points(o)[5] = PatchNetworkAccess::Points(o)[1];
         },
         1, 2},
        {"a corner not a number", ThreeQuads,
         [nan](PatchObject& o) { PatchNetworkAccess::Points(o)[7] = PatchVec3(nan, 0.0f, 0.0f); },
         2, 1},
        {"an outer point on the fan's centre", SixTriangles,
         [](PatchObject& o) {
             PatchNetworkAccess::Points(o)[1] = PatchNetworkAccess::Points(o)[0];
         },
         12, 2},
        {"the fan's centre infinite", SixTriangles,
         [](PatchObject& o) {
             PatchNetworkAccess::Points(o)[0].x = std::numeric_limits<float>::infinity();
         },
         0, 6},
    };
    for (const bool smooth : {false, true}) {
        for (const DegenerateCase& c : cases) {
            SCOPED_TRACE(std::string(c.label) + (smooth ? ", smooth" : ""));
            ObjectStore store;
            PatchObject& object = *store.AddObject();
            testing::BuildGenerated(c.make(), object);
            DetectPatches(object);
            c.damage(object);

            const ObjectShape shape = BuildObjectShape(object, smooth);
            EXPECT_EQ(shape.faces, c.faces);
            EXPECT_EQ(shape.patchesLeftOut, c.leftOut);
            EXPECT_EQ(shape.shape.IsNull(), c.faces == 0);
            if (!shape.shape.IsNull()) {
                EXPECT_TRUE(BRepCheck_Analyzer(shape.shape).IsValid());
            }

            const std::string path = (folder_ / "damaged.step").string();
            const CadExportReport report =
                WriteCadFile(path, store.objects, CadFormat::kStep, smooth);
            EXPECT_EQ(report.facesWritten, c.faces);
            EXPECT_EQ(report.patchesLeftOut, c.leftOut);
            if (c.faces == 0) {
                EXPECT_NE(report.written.status, WriteStatus::kWritten);
                continue;
            }
            ASSERT_EQ(report.written.status, WriteStatus::kWritten) << report.written.error;
            const auto read = testing::ReadCadFile(path, CadFormat::kStep);
            ASSERT_TRUE(read.has_value());
            ASSERT_EQ(read->size(), 1u);
            EXPECT_EQ(testing::CountFaces(read->front().shape), c.faces);
        }
    }
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Objects without patches are left out by name; with none that has one, no file is written and
// the one that was there stays.
TEST_F(CadFailureTest, ObjectsWithoutPatchesAreLeftOutAndNothingToWriteKeepsTheOldFile) {
    ObjectStore store;
    PatchObject& curve = *store.AddObject();
    curve.name = "outline";
    testing::NetworkBuilder builder(curve);
    builder.Curve({builder.Point(0, 0, 0), builder.Point(1, 0, 0), builder.Point(1, 1, 0)});
    ComputeHandles(curve);
    const fs::path target = folder_ / "model.igs";
    WriteText(target, "the old contents");

    const CadExportReport alone = WriteCadFile(target, store.objects, CadFormat::kIges);
    EXPECT_EQ(alone.written.status, WriteStatus::kWriteFailed);
    EXPECT_EQ(alone.written.error, "no object has a patch to write");
    EXPECT_EQ(alone.objectsLeftOut, std::vector<std::string>{"outline"});
    EXPECT_EQ(ReadText(target), "the old contents");
    EXPECT_EQ(Entries(), std::vector<std::string>{"model.igs"});

    testing::BuildGenerated(modelgen::MakeGrid(2, 2), *store.AddObject());
    testing::WithPatches(store.objects);
    const CadExportReport withGrid = WriteCadFile(target, store.objects, CadFormat::kIges);
    ASSERT_EQ(withGrid.written.status, WriteStatus::kWritten) << withGrid.written.error;
    EXPECT_EQ(withGrid.facesWritten, 4);
    EXPECT_EQ(withGrid.objectsLeftOut, std::vector<std::string>{"outline"});
    const auto read = testing::ReadCadFile(target, CadFormat::kIges);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->size(), 1u);
}

// Caps the size of files this process may write, as a full disk would, for one scope.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

  private:
    rlimit saved_{};
    sighandler_t previousHandler_;
};

// A file that cannot be created or written is a clear failure that leaves what was there, and no
// temporary file.
TEST_F(CadFailureTest, FailedWritesKeepTheOldFileAndSayWhy) {
    ObjectStore store;
    testing::BuildGenerated(modelgen::MakeTorus(8, 6), *store.AddObject());
    testing::WithPatches(store.objects);
    for (const CadFormat format : {CadFormat::kStep, CadFormat::kIges}) {
        const CadExportReport missing =
            WriteCadFile((folder_ / "no" / "torus.step").string(), store.objects, format);
        EXPECT_EQ(missing.written.status, WriteStatus::kCannotCreate);
        EXPECT_EQ(missing.written.error, "No such file or directory");

        const fs::path target = folder_ / "torus.cad";
        WriteText(target, "the old contents");
        CadExportReport full;
        {
            FileSizeLimit limit(4096);
            full = WriteCadFile(target.string(), store.objects, format);
        }
        EXPECT_EQ(full.written.status, WriteStatus::kWriteFailed);
        EXPECT_EQ(full.written.error, "File too large");
        EXPECT_EQ(ReadText(target), "the old contents");
        EXPECT_EQ(Entries(), std::vector<std::string>{"torus.cad"});
    }
}

// The tool writes by the output's extension and keeps OpenCASCADE's transfer statistics off
// standard output, which scripts read; what was left out is a warning on standard error.
TEST_F(CadFailureTest, CommandLineWritesCadFilesQuietlyAndWarnsOfWhatItLeftOut) {
    const std::string model = (folder_ / "model.mqo").string();
    WriteText(model, std::string("Metasequoia Document\nFormat Text Ver 1.0\n") +
                         "Object \"square\" {\n vertex 4 {\n  0 0 0\n  10 0 0\n  10 10 0\n  "
                         "0 10 0\n }\n face 1 {\n  4 V(0 1 2 3)\n }\n}\n" +
                         "Object \"line\" {\n vertex 2 {\n  0 0 0\n  0 5 0\n }\n face 1 {\n  2 "
                         "V(0 1)\n }\n}\nEof\n");
    for (const char* output : {"model.step", "MODEL.STP", "model.igs", "model.IGES"}) {
        SCOPED_TRACE(output);
        const std::string path = (folder_ / output).string();
        const testing::ProcessResult run =
            testing::RunProcess(KORVANE_CLI_PATH, {"convert", model, "-o", path});
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "korvane-cli: warning: left out 1 object without patches: line\n");
        const auto read = testing::ReadCadFile(path, path.ends_with("step") || path.ends_with("STP")
                                                         ? CadFormat::kStep
                                                         : CadFormat::kIges);
        ASSERT_TRUE(read.has_value());
        ASSERT_EQ(read->size(), 1u);
        EXPECT_EQ(read->front().name, "square");
    }

    const std::string lineOnly = (folder_ / "line.mqo").string();
    WriteText(lineOnly,
              "Metasequoia Document\nFormat Text Ver 1.0\nObject \"line\" {\n vertex 2 {\n"
              "  0 0 0\n  0 5 0\n }\n face 1 {\n  2 V(0 1)\n }\n}\nEof\n");
    const std::string path = (folder_ / "line.step").string();
    const testing::ProcessResult nothing =
        testing::RunProcess(KORVANE_CLI_PATH, {"convert", lineOnly, "-o", path});
    EXPECT_EQ(nothing.exitStatus, 3);
    EXPECT_EQ(nothing.err,
              "korvane-cli: cannot write " + path + ": no object has a patch to write\n");
    EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace korvane
