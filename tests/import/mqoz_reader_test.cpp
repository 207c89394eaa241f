#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "document/object_store.h"
#include "export/rvp_writer.h"
#include "import/metasequoia_reader.h"
#include "import/model_format.h"
#include "import/mqoz_archive.h"
#include "import_test_support.h"
#include "support/zip_archive.h"

// Compressed Metasequoia files (.mqoz): zip archives built here with libzip in the layout that
// Metasequoia 4 writes (one member named after the model, deflated at the normal level, so that
// the general-purpose flags are 0; no extra fields), read back through the same entry as text.

namespace korvane {
namespace {

namespace fs = std::filesystem;
using testing::NamesOf;
using testing::ZipOf;

// A model as Metasequoia 4 saves it inside a .mqoz: format 1.2, UTF-8 names, CR LF lines.
const std::string kModelHead =
    "Metasequoia Document\r\nFormat Text Ver 1.2\r\nCodePage utf8\r\n\r\n"
    "Scene {\r\n\tpos 0 0 1500\r\n\tlookat 0 0 0\r\n\tdirlights 1 {\r\n\t\tlight {\r\n"
    "\t\t\tdir 0.408 0.408 0.816\r\n\t\t}\r\n\t}\r\n}\r\n"
    "Material 1 {\r\n\t\"素材\" shader(3) col(1.000 1.000 1.000 1.000) dif(0.800) "
    "tex(\"車輪.png\")\r\n}\r\n"
    "Object \"車輪\" {\r\n\tdepth 0\r\n\tfolding 0\r\n\tscale 1 1 1\r\n\trotation 0 0 0\r\n"
    "\ttranslation 0 0 0\r\n\tvisible 15\r\n\tshading 1\r\n\tfacet 60.0\r\n"
    "\tnormal_weight 1\r\n\tcolor 0.898 0.498 0.698\r\n\tcolor_type 0\r\n\tmirror 1\r\n"
    "\tmirror_axis 1\r\n\tvertex 4 {\r\n\t\t10 0 0\r\n\t\t20 0 0\r\n\t\t20 10 5\r\n"
    "\t\t10 10 0\r\n\t}\r\n\tface 2 {\r\n\t\t3 V(0 1 2) M(0) UV(0 0 1 0 1 1)\r\n"
    "\t\t4 V(0 1 2 3) M(0)\r\n\t}\r\n}\r\n"
    "Object \"台車\" {\r\n\tvertex 3 {\r\n\t\t0 0 0\r\n\t\t0 30 0\r\n\t\t0 0 -30\r\n\t}\r\n"
    "\tface 1 {\r\n\t\t3 V(0 1 2)\r\n\t}\r\n}\r\n";
const std::string kModel = kModelHead + "Eof\r\n";
const std::vector<std::string> kModelNames = {"車輪", "台車"};

// The first member's unpacked size rewritten in its local header and the central directory, as a
// zip bomb lies about it.
std::string DeclaringSize(std::string zip, std::uint32_t size) {
    const std::size_t central = zip.find("PK\x01\x02");
    for (const std::size_t at : {std::size_t{22}, central + 24}) {
        for (std::size_t i = 0; i < 4; ++i) {
            zip[at + i] = static_cast<char>(size >> (8 * i));
        }
    }
    return zip;
}

// A byte in the middle of the packed bytes changed: what the local header leaves before the
// central directory is nearly all packed bytes.
std::string Corrupted(std::string zip) {
    zip[zip.find("PK\x01\x02") / 2] ^= 0x5A;
    return zip;
}

// The model with 8 MiB of blank lines before its end: deflate packs it about 1000 times.
const std::string kBomb = kModelHead + std::string(std::size_t{8} << 20, '\n') + "Eof\r\n";

struct ArchiveCase {
    const char* label;
    std::string bytes;
    ImportStatus status;
    std::string member;  // what the archive must import as, when it imports
    ArchiveLimits limits = kMqozLimits;
};

TEST(MqozReaderTest, ArchivesImportAsTheirModelMemberOrSayWhyNot) {
    const std::string model = ZipOf({{"model.mqo", kModel}});
    const std::string stored = ZipOf({{"model.mqo", kModel, ZIP_CM_STORE}});
    const std::string bomb = ZipOf({{"bomb.mqo", kBomb}});
    const std::size_t size = kModel.size();
    const std::vector<ArchiveCase> cases = {
        {"deflated, as Metasequoia writes", model, ImportStatus::kImported, kModel},
        {"stored", stored, ImportStatus::kImported, kModel},
        {"the .mqo after other members",
         ZipOf({{"model.mqo.txt", "Metasequoia Document\r\nEof\r\n"},
                {"textures/wheel.png", std::string(300, '\x89')},
                {"Model.MQO", kModel}}),
         ImportStatus::kImported, kModel},
        {"a member that is no model", ZipOf({{"model.mqo", "\x89PNG\r\n\x1a\n"}}),
         ImportStatus::kNotThatFormat, ""},
        {"no .mqo member", ZipOf({{"model.txt", kModel}, {"mqo", kModel}}),
         ImportStatus::kArchiveWithoutModel, ""},
        {"no members at all", std::string("PK\x05\x06", 4) + std::string(18, '\0'),
         ImportStatus::kArchiveWithoutModel, ""},
        {"cut in half", model.substr(0, model.size() / 2), ImportStatus::kArchiveDamaged, ""},
        {"last byte cut", model.substr(0, model.size() - 1), ImportStatus::kArchiveDamaged, ""},
        {"packed bytes corrupt", Corrupted(model), ImportStatus::kArchiveDamaged, ""},
        {"bomb", bomb, ImportStatus::kArchiveTooLarge, ""},
        {"bomb declaring a small size", DeclaringSize(bomb, 4096), ImportStatus::kArchiveTooLarge,
         ""},
        {"bomb below the ratio-free size",
         bomb,
         ImportStatus::kImported,
         kBomb,
         {std::size_t{1} << 28, 100, std::size_t{16} << 20}},
        {"member exactly at the size bound",
         stored,
         ImportStatus::kImported,
         kModel,
         {size, 100, 0}},
        {"member a byte beyond the size bound",
         stored,
         ImportStatus::kArchiveTooLarge,
         "",
         {size - 1, 100, 0}},
        {"member beyond the size bound, declaring less",
         DeclaringSize(model, 100),
         ImportStatus::kArchiveTooLarge,
         "",
         {size - 1, 100, 0}},
    };
    for (const ArchiveCase& row : cases) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(DetectModelFormat(std::string_view(row.bytes).substr(0, 64)),
                  ModelFormat::kMetasequoia);
        ObjectStore store;
        const ImportResult result = ImportMetasequoiaBytesWithin(row.bytes, store, row.limits);
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(result.objectsAdded, store.objects.GetCount());
        if (row.member.empty()) {
            EXPECT_TRUE(store.objects.IsEmpty());
            continue;
        }
        ObjectStore plain;
        const ImportResult expected = ImportMetasequoiaBytes(row.member, plain);
        EXPECT_EQ(NamesOf(store), kModelNames);
        EXPECT_EQ(NamesOf(store), NamesOf(plain));
        EXPECT_EQ(result.truncated, expected.truncated);
        EXPECT_EQ(SerializeRvp(store.objects), SerializeRvp(plain.objects));
    }
}

// Format 1.2 with its CodePage line reads as before; names stay the file's UTF-8 bytes, whether
// the text comes packed or not, and a file on disk is told by its content, not its name.
TEST(MqozReaderTest, Format12ReadsWithUtf8NamesPackedOrNot) {
    ObjectStore text;
    const ImportResult result = ImportMetasequoiaBytes(kModel, text);
    EXPECT_EQ(result.status, ImportStatus::kImported);
    EXPECT_FALSE(result.truncated);
    ASSERT_EQ(NamesOf(text), kModelNames);
    EXPECT_EQ(text.objects.GetHead()->name, "\xE8\xBB\x8A\xE8\xBC\xAA");
    EXPECT_EQ(text.objects.GetHead()->PointCount(), 8);  // mirrored across X
    EXPECT_EQ(text.objects.GetTail()->PointCount(), 3);

    const std::string path = ::testing::TempDir() + "/packed_model.bin";
    std::ofstream(path, std::ios::binary) << ZipOf({{"model.mqo", kModel}});
    ObjectStore packed;
    EXPECT_EQ(ImportMetasequoia(path, packed).status, ImportStatus::kImported);
    EXPECT_EQ(SerializeRvp(packed.objects), SerializeRvp(text.objects));
    fs::remove(path);
}

TEST(MqozReaderTest, OnlyZipStartsAreTakenForArchives) {
    EXPECT_TRUE(IsZipArchive(std::string("PK\x03\x04", 4)));
    EXPECT_TRUE(IsZipArchive(std::string("PK\x05\x06", 4)));
    EXPECT_FALSE(IsZipArchive(std::string("PK\x01\x02", 4)));  // a central directory entry
    EXPECT_FALSE(IsZipArchive(std::string("PK\x03", 3)));
    EXPECT_FALSE(IsZipArchive(" PK\x03\x04"));
    EXPECT_EQ(DetectModelFormat(std::string("PK\x07\x08", 4)), ModelFormat::kUnknown);
}

// The real file: it imports as the .mqo it holds, with that file's object names.
TEST(MqozReaderTest, CorpusTrolleyImportsAsItsMember) {
    const fs::path file = fs::path(KORVANE_CORPUS_DIR) / "mqoz" / "trolley.mqoz";
    if (!fs::is_directory(file.parent_path())) {
        GTEST_SKIP() << "no corpus at " << KORVANE_CORPUS_DIR;
    }
    std::string member;
    ASSERT_EQ(UnpackMqoz(testing::ReadWholeFile(file.string()), member), ImportStatus::kImported);
    EXPECT_TRUE(
        member.starts_with("Metasequoia Document\r\nFormat Text Ver 1.2\r\n"
                           "CodePage utf8\r\n"));
    const std::string extracted = ::testing::TempDir() + "/trolley.mqo";
    std::ofstream(extracted, std::ios::binary) << member;

    ObjectStore packed;
    ObjectStore plain;
    const ImportResult result = ImportMetasequoia(file.string(), packed);
    EXPECT_EQ(result.status, ImportStatus::kImported);
    EXPECT_FALSE(result.truncated);
    EXPECT_EQ(ImportMetasequoia(extracted, plain).status, ImportStatus::kImported);
    EXPECT_EQ(NamesOf(packed),
              (std::vector<std::string>{"wheel", "body1", "body2", "body3", "connector"}));
    EXPECT_EQ(NamesOf(packed), NamesOf(plain));
    EXPECT_EQ(SerializeRvp(packed.objects), SerializeRvp(plain.objects));
    fs::remove(extracted);
}

}  // namespace
}  // namespace korvane
