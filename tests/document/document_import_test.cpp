#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "document/document.h"
#include "document_files.h"
#include "support/zip_archive.h"
#include "tools/modelgen/model_shapes.h"
#include "tools/modelgen/model_writers.h"

// Import, the document's door for model files: every kind it reads, what its report says, and
// that a file which gives nothing leaves the document exactly as it was.

namespace korvane {
namespace {

using testing::FileFolderTest;
using Warnings = std::vector<std::pair<ImportWarningKind, std::int32_t>>;

Warnings WarningsOf(const ImportReport& report) {
    Warnings warnings;
    for (const ImportWarning& warning : report.warnings) {
        warnings.emplace_back(warning.kind, warning.count);
    }
    return warnings;
}

class DocumentImportTest : public FileFolderTest {};

// The same grid in every format: each file is read by its content, whatever its name, into one
// object whose network and patches are the grid's.
TEST_F(DocumentImportTest, EveryFormatIsToldByItsContentAndGivesTheSameNetwork) {
    const modelgen::GeneratedModel grid = modelgen::MakeGrid(3, 2);
    Document source;
    ASSERT_EQ(source.Import(Write("grid.mqo", modelgen::WriteMqoText(grid)), {}).status,
              ImportStatus::kImported);
    const std::string rvp = PathOf("grid.any");
    ASSERT_EQ(source.Export(rvp, {.format = ExportFormat::kRuvoPatch}).status,
              WriteStatus::kWritten);
    const struct {
        std::string path;
        ModelFormat format;
    } cases[] = {
        {Write("text.model", modelgen::WriteMqoText(grid)), ModelFormat::kMetasequoia},
        {Write("binary.mqo", modelgen::WriteMqoBinary(grid)), ModelFormat::kMetasequoia},
        {Write("packed.mqoz", testing::ZipOf({{"grid.mqo", modelgen::WriteMqoText(grid)}})),
         ModelFormat::kMetasequoia},
        {Write("layer.lwo", modelgen::WriteLwo2(grid)), ModelFormat::kLightWave},
        {rvp, ModelFormat::kRuvoPatch},
        {Write("wavefront.obj", modelgen::WriteObj(grid)), ModelFormat::kUnknown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        for (const PatchUpkeep upkeep : {PatchUpkeep::kAtOnce, PatchUpkeep::kWhenRead}) {
            Document document(upkeep);
            const ImportReport report = document.Import(c.path, {});
            ASSERT_EQ(report.status, ImportStatus::kImported) << report.detail;
            EXPECT_EQ(report.format, c.format);
            EXPECT_EQ(report.objectsAdded, 1);
            EXPECT_TRUE(report.warnings.empty());
            ASSERT_EQ(document.Objects().GetCount(), 1);
            const PatchObject& object = *document.Objects().GetHead();
            EXPECT_EQ(object.PatchesValid(), upkeep == PatchUpkeep::kAtOnce);
            const DocumentCounts counts = document.Count();
            EXPECT_EQ(counts.totals.controlPoints, 12);
            EXPECT_EQ(counts.totals.splines, 17);
            EXPECT_EQ(counts.totals.quadPatches, 6);
            EXPECT_TRUE(object.PatchesValid()) << "counted, so found";
        }
    }
}

TEST_F(DocumentImportTest, WarningsComeAsKindsWithCountsAndTheNamesTheyNeed) {
    const std::string badFaces =
        "Metasequoia Document\nFormat Text Ver 1.0\nObject \"tri\" {\n\tvertex 3 {\n0 0 0\n10 0 "
        "0\n0 10 0\n\t}\n\tface 3 {\n3 V(0 1 2)\n3 V(0 1 7)\n4 V(0 1 2 9)\n\t}\n}\nEof\n";
    const std::string cutShort =
        "Metasequoia Document\nFormat Text Ver 1.0\nObject \"tri\" {\n\tvertex 3 {\n0 0 0\n10 0 "
        "0\n0 10 0\n\t}\n\tface 1 {\n3 V(0 1 2)\n";
    const std::string unknownMirror =
        "Metasequoia Document\nObject \"m\" {\n\tmirror 5\n\tvertex 3 {\n0 0 0\n10 0 0\n0 10 0\n"
        "\t}\n\tface 1 {\n3 V(0 1 2)\n\t}\n}\nEof\n";
    const std::string pentagons =
        "Metasequoia Document\nObject \"a\" {\n\tvertex 5 {\n0 0 0\n1 0 0\n2 1 0\n1 2 0\n0 1 0\n"
        "\t}\n\tface 2 {\n5 V(0 1 2 3 4)\n5 V(4 3 2 1 0)\n\t}\n}\nEof\n";
    Write("secret.mtl", "newmtl paint\nKd 0.25 0.5 0.75\n");
    const struct {
        std::string path;
        Warnings warnings;
        std::string archiveModelRead;
        std::string inDetail;
    } cases[] = {
        {Write("bad.mqo", badFaces), {{ImportWarningKind::kDroppedFaces, 2}}, "", ""},
        {Write("short.mqo", cutShort), {{ImportWarningKind::kTruncated, 1}}, "", ""},
        {Write("mirror.mqo", unknownMirror), {{ImportWarningKind::kMirrorsLeftOut, 1}}, "", ""},
        {Write("outlines.mqo", pentagons), {{ImportWarningKind::kOutlineFaces, 2}}, "", ""},
        {Write("two.mqoz", testing::ZipOf({{"first.mqo", badFaces}, {"second.mqo", cutShort}})),
         {{ImportWarningKind::kDroppedFaces, 2}, {ImportWarningKind::kOtherArchiveModels, 2}},
         "first.mqo",
         ""},
        {Write("model/plane.obj",
               "mtllib ../secret.mtl\no Plane\nv -1 0 1\nv 1 0 1\nv 1 0 -1\nv -1 0 -1\n"
               "usemtl paint\nf 1 2 3 4\n"),
         {{ImportWarningKind::kSideFilesRefused, 1}},
         "",
         "\"../secret.mtl\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        Document document;
        const ImportReport report = document.Import(c.path, {});
        ASSERT_EQ(report.status, ImportStatus::kImported);
        EXPECT_EQ(WarningsOf(report), c.warnings);
        for (const auto& [kind, count] : c.warnings) {
            EXPECT_EQ(report.Count(kind), count);
        }
        EXPECT_EQ(report.Count(ImportWarningKind::kLathesLeftOut), 0);
        EXPECT_EQ(report.archiveModelRead, c.archiveModelRead);
        EXPECT_NE(report.detail.find(c.inDetail), std::string::npos) << report.detail;
        EXPECT_EQ(document.Objects().GetCount(), 1) << "what was sound is kept";
    }
}

// Holds the address space of this process to what it uses now and `room` more, while it lives.
class AddressSpaceLimit {
  public:
    explicit AddressSpaceLimit(std::uint64_t room) {
        ::getrlimit(RLIMIT_AS, &previous_);
        std::uint64_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlimit limited{pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE)) + room,
                             previous_.rlim_max};
        ::setrlimit(RLIMIT_AS, &limited);
    }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;
    ~AddressSpaceLimit() { ::setrlimit(RLIMIT_AS, &previous_); }

  private:
    rlimit previous_{};
};

// A file that gives nothing, for whatever reason, adds nothing and changes nothing: the objects
// already there stay, themselves, with their patches.
TEST_F(DocumentImportTest, AFailedImportLeavesTheDocumentAsItWas) {
    const std::string notes = Write("notes.txt", "just words");
    const std::string mqo = Write("grid.mqo", modelgen::WriteMqoText(modelgen::MakeGrid(2, 2)));
    Document grid;
    ASSERT_EQ(grid.Import(mqo, {}).status, ImportStatus::kImported);
    const std::string whole = PathOf("whole.rvp");
    ASSERT_EQ(grid.Export(whole, {}).status, WriteStatus::kWritten);
    const std::string bytes = Read(whole);
    const std::string cut = Write("cut.rvp", bytes.substr(0, bytes.size() / 2));
    const std::string fifo = PathOf("pipe.obj");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::filesystem::create_directory(folder_ / "folder.mqo");
    const std::string large =
        Write("large.mqo", modelgen::WriteMqoText(modelgen::MakeTorus(600, 600)));
    const struct {
        const char* name;
        std::string path;
        ModelReader reader;
        ImportStatus status;
        FileReadStatus fileStatus;
        std::uint64_t room;  // for this process's address space; 0: no limit
    } cases[] = {
        {"missing", PathOf("missing.mqo"), ModelReader::kByContent, ImportStatus::kCannotOpen,
         FileReadStatus::kCannotOpen, 0},
        {"folder", PathOf("folder.mqo"), ModelReader::kByContent, ImportStatus::kNotRegularFile,
         FileReadStatus::kNotRegularFile, 0},
        {"pipe to assimp", fifo, ModelReader::kAssimp, ImportStatus::kNotRegularFile,
         FileReadStatus::kRead, 0},
        {"words as Metasequoia", notes, ModelReader::kMetasequoia, ImportStatus::kNotThatFormat,
         FileReadStatus::kRead, 0},
        {"Metasequoia as LightWave", mqo, ModelReader::kLightWave, ImportStatus::kNotThatFormat,
         FileReadStatus::kRead, 0},
        {"archive without a model", Write("empty.mqoz", testing::ZipOf({{"a.txt", "a"}})),
         ModelReader::kByContent, ImportStatus::kArchiveWithoutModel, FileReadStatus::kRead, 0},
        {"cut ruvoPatch", cut, ModelReader::kByContent, ImportStatus::kMalformed,
         FileReadStatus::kRead, 0},
        {"words to assimp", notes, ModelReader::kByContent, ImportStatus::kAssimpRefused,
         FileReadStatus::kRead, 0},
        {"beyond the memory left", large, ModelReader::kByContent, ImportStatus::kBeyondMemory,
         FileReadStatus::kRead, std::uint64_t{48} << 20},
    };
    Document document;
    ASSERT_EQ(document.Import(KORVANE_EXAMPLES_DIR "/vase.mqo", {}).status,
              ImportStatus::kImported);
    const PatchObject* vase = document.Objects().GetHead();
    const std::size_t patches = vase->Patches().size();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
        if (c.room > 0) {
            continue;  // the sanitizers' reservations need the address space
        }
#endif
        ImportReport report;
        {
            std::optional<AddressSpaceLimit> limit;
            if (c.room > 0) {
                limit.emplace(c.room);
            }
            report = document.Import(c.path, {.reader = c.reader});
        }
        EXPECT_EQ(report.status, c.status) << report.detail;
        EXPECT_EQ(report.file.status, c.fileStatus);
        EXPECT_EQ(report.objectsAdded, 0);
        ASSERT_EQ(document.Objects().GetCount(), 1);
        EXPECT_EQ(document.Objects().GetHead(), vase);
        EXPECT_TRUE(vase->PatchesValid());
        EXPECT_EQ(vase->Patches().size(), patches);
    }
}

}  // namespace
}  // namespace korvane
