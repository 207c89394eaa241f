#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/document.h"
#include "document_files.h"
#include "export/rvp_writer.h"
#include "tools/modelgen/model_shapes.h"
#include "tools/modelgen/model_writers.h"

// Export, the document's door for files of every format the network is written in.

namespace korvane {
namespace {

using testing::FileFolderTest;

class DocumentExportTest : public FileFolderTest {
  protected:
    void ImportTorus(Document& document) {
        const std::string path =
            Write("torus.mqo", modelgen::WriteMqoText(modelgen::MakeTorus(6, 4)));
        ASSERT_EQ(document.Import(path, {}).status, ImportStatus::kImported);
    }
};

// The extension chooses the writer, in any case; a batch document finds the patches only for the
// formats that hold them.
TEST_F(DocumentExportTest, EveryExtensionWritesItsFormat) {
    const struct {
        const char* name;
        ExportFormat format;
        std::string begins;
        bool patchesRead;
    } cases[] = {
        {"a.rvp", ExportFormat::kRuvoPatch,
         std::string("\x0B"
                     "object_info"),
         false},
        {"b.MDL", ExportFormat::kAnimationMaster, "<MODELFILE>\r\n", true},
        {"c.spt", ExportFormat::kSPatch, "sPatches\r\n", false},
        {"d.obj", ExportFormat::kSurfaceMesh, "# ", true},
        {"e.ply", ExportFormat::kSurfaceMesh, "ply\n", true},
        {"f.stl", ExportFormat::kSurfaceMesh, "", true},
        {"g.Gltf", ExportFormat::kSurfaceMesh, "{", true},
        {"h.glb", ExportFormat::kSurfaceMesh, "glTF", true},
        {"i.model", ExportFormat::kRuvoPatch,
         std::string("\x0B"
                     "object_info"),
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Document document(PatchUpkeep::kWhenRead);
        ImportTorus(document);
        const std::string path = PathOf(c.name);
        const ExportReport report = document.Export(path, {});
        EXPECT_EQ(report.status, WriteStatus::kWritten) << report.error;
        EXPECT_EQ(report.format, c.format);
        const std::string bytes = Read(path);
        EXPECT_FALSE(bytes.empty());
        EXPECT_TRUE(bytes.starts_with(c.begins)) << bytes.substr(0, 16);
        EXPECT_EQ(document.Objects().GetHead()->PatchesValid(), c.patchesRead);
    }
}

// What the export writes is what the writer makes of the objects, whatever the name: a format
// chosen by the caller wins over the extension.
TEST_F(DocumentExportTest, AChosenFormatWinsOverTheExtension) {
    Document document;
    ImportTorus(document);
    const std::string path = PathOf("surface.obj");
    const ExportReport report = document.Export(path, {.format = ExportFormat::kRuvoPatch});
    EXPECT_EQ(report.format, ExportFormat::kRuvoPatch);
    const std::vector<std::uint8_t> expected = SerializeRvp(document.Objects());
    EXPECT_EQ(Read(path), std::string(expected.begin(), expected.end()));
}

// The surfaces are cut at the resolution asked: a four-sided patch into 8 x resolution^2
// triangles, a three-sided one into 6 x resolution^2.
TEST_F(DocumentExportTest, TheSurfaceResolutionReachesTheMeshWriter) {
    Document document;
    ImportTorus(document);
    const ObjectCounts patches = document.Count().totals;
    ASSERT_GT(patches.quadPatches, 0);
    for (const std::int64_t resolution : {1, 3}) {
        SCOPED_TRACE(resolution);
        const std::string path = PathOf("torus" + std::to_string(resolution) + ".stl");
        ASSERT_EQ(
            document.Export(path, {.surfaceResolution = static_cast<std::int32_t>(resolution)})
                .status,
            WriteStatus::kWritten);
        const std::int64_t triangles =
            resolution * resolution * (8 * patches.quadPatches + 6 * patches.triPatches);
        // Binary STL: 80 bytes of header, the count in 4, then 50 bytes per triangle.
        EXPECT_EQ(std::filesystem::file_size(path),
                  static_cast<std::uintmax_t>(84 + 50 * triangles));
    }
}

TEST_F(DocumentExportTest, AFailedWriteSaysWhyAndLeavesNoFile) {
    Document document;
    ImportTorus(document);
    for (const char* name : {"missing/x.rvp", "missing/x.mdl", "missing/x.spt", "missing/x.glb"}) {
        SCOPED_TRACE(name);
        const ExportReport report = document.Export(PathOf(name), {});
        EXPECT_EQ(report.status, WriteStatus::kCannotCreate);
        EXPECT_NE(report.error.find("No such file or directory"), std::string::npos)
            << report.error;
        EXPECT_FALSE(std::filesystem::exists(folder_ / "missing"));
    }
    EXPECT_EQ(document.Objects().GetCount(), 1);
}

// A file holds only the objects that have what its format writes, and says how many; with none, or
// over a file that the document was read from (under any name), nothing is written at all.
TEST_F(DocumentExportTest, CountsWhatTheFileHoldsAndRefusesNothingAndTheSource) {
    // A square of curves with its patch, and an open curve without one.
    const std::string model = Write(
        "model.mqo",
        "Metasequoia Document\nObject \"square\" {\n\tvertex 4 {\n0 0 0\n10 0 0\n10 10 0\n0 10 "
        "0\n\t}\n\tface 1 {\n4 V(0 1 2 3)\n\t}\n}\nObject \"line\" {\n\tvertex 2 {\n0 0 0\n5 0 "
        "0\n\t}\n\tface 1 {\n2 V(0 1)\n\t}\n}\nEof\n");
    std::filesystem::create_hard_link(model, folder_ / "hard.rvp");
    std::filesystem::create_symlink("model.mqo", folder_ / "link.obj");
    const struct {
        const char* name;
        bool empty;  // exported from a new document
        WriteStatus status;
        std::int32_t objects;
    } cases[] = {
        {"all.rvp", false, WriteStatus::kWritten, 2},
        {"curves.mdl", false, WriteStatus::kWritten, 2},
        {"curves.spt", false, WriteStatus::kWritten, 2},
        {"surface.obj", false, WriteStatus::kWritten, 1},
        {"empty.rvp", true, WriteStatus::kNothingToWrite, 0},
        {"empty.spt", true, WriteStatus::kNothingToWrite, 0},
        {"empty.glb", true, WriteStatus::kNothingToWrite, 0},
        {"model.mqo", false, WriteStatus::kWouldReplaceSource, 0},
        {"hard.rvp", false, WriteStatus::kWouldReplaceSource, 0},
        {"link.obj", false, WriteStatus::kWouldReplaceSource, 0},
    };
    const std::string source = Read(model);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Document document;
        if (!c.empty) {
            ASSERT_EQ(document.Import(model, {}).status, ImportStatus::kImported);
        }
        const std::string path = PathOf(c.name);
        const bool existed = std::filesystem::exists(path);
        const ExportReport report = document.Export(path, {});
        EXPECT_EQ(report.status, c.status) << report.error;
        EXPECT_EQ(report.objectsWritten, c.objects);
        EXPECT_EQ(std::filesystem::exists(path), existed || c.status == WriteStatus::kWritten);
    }
    EXPECT_EQ(Read(model), source);

    // Only a patch holds a surface; New forgets the files read.
    Document document;
    ASSERT_EQ(document.Import(model, {}).status, ImportStatus::kImported);
    const std::string lineOnly = Write("line.mqo",
                                       "Metasequoia Document\nObject \"line\" {\n\tvertex 2 {\n0 0 "
                                       "0\n5 0 0\n\t}\n\tface 1 {\n2 V(0 1)\n\t}\n}\nEof\n");
    document.Clear();
    EXPECT_FALSE(document.IsImportedFile(model));
    ASSERT_EQ(document.Import(lineOnly, {}).status, ImportStatus::kImported);
    EXPECT_EQ(document.Export(PathOf("line.stl"), {}).status, WriteStatus::kNothingToWrite);
    EXPECT_FALSE(std::filesystem::exists(PathOf("line.stl")));
}

}  // namespace
}  // namespace korvane
