#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "document/object_store.h"
#include "hostile_models.h"
#include "hostile_support.h"
#include "import/mqoz_archive.h"
#include "support/zip_archive.h"

// Compressed Metasequoia files (.mqoz) built to cost their reader: more members than a model's
// archive holds, and more than one model among them.

namespace korvane::testing {
namespace {

using ArchiveHostileTest = HostileTest;

struct MemberCountCase {
    const char* label;
    ManyMembers layout;
    ImportStatus status;
};

// More than 65,536 members is no model's archive, however the end records count them: refused
// before libzip reads a directory, which it reads whole and, when several end records name one,
// once for each.
TEST_F(ArchiveHostileTest, ArchivesOfTooManyMembersAreRefusedUnread) {
    const std::string model = Mqo(TriangleObject("inside"));
    const std::vector<MemberCountCase> cases = {
        {"65,536 members, the most allowed, counted by Zip64",
         {.emptyMembers = 65535, .model = model},
         ImportStatus::kImported},
        {"one member more",
         {.emptyMembers = 65536, .model = model},
         ImportStatus::kArchiveTooManyMembers},
        {"100,000 members counted modulo 65,536, without Zip64",
         {.emptyMembers = 99999, .model = model, .declared = 100000 % 65536, .zip64 = false},
         ImportStatus::kArchiveTooManyMembers},
        {"a Zip64 count of 2^40 for one member",
         {.model = model, .declared = std::uint64_t{1} << 40},
         ImportStatus::kArchiveTooManyMembers},
        {"30,000 members named by two end records",
         {.emptyMembers = 29999, .model = model, .endRecords = 2},
         ImportStatus::kImported},
        {"40,000 members named by 100 end records",
         {.emptyMembers = 39999, .model = model, .endRecords = 100},
         ImportStatus::kArchiveTooManyMembers},
    };
    for (const MemberCountCase& row : cases) {
        SCOPED_TRACE(row.label);
        const std::string archive = ArchiveOf(row.layout);
        ObjectStore store;
        const ImportResult result = ImportMetasequoiaBytes(archive, store);
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(store.objects.GetCount(), row.status == ImportStatus::kImported ? 1 : 0);
        EXPECT_EQ(result.archiveModels, row.status == ImportStatus::kImported ? 1 : 0);
    }

    const std::string over = ArchiveOf({.emptyMembers = 70000, .model = model});
    WriteFile(folder_ / "many.mqoz", over);
    const ProcessResult cli = ConvertWithCli(folder_ / "many.mqoz", "timeout 60 ");
    EXPECT_EQ(cli.exitStatus, 2) << cli.err;
    EXPECT_NE(cli.err.find("many.mqoz: a zip archive of more than 65536 files, not a model "
                           "archive; it was not read"),
              std::string::npos)
        << cli.err;
}

struct ModelMembersCase {
    const char* label;
    std::vector<ZipMember> members;
    std::int32_t models;
    std::string readObject;  // the object of the member read
    std::string warning;     // what the tool says after the path; empty for nothing
};

// Of several .mqo members the first is read, and the import says which: the tool in the member's
// name decoded as object names are (Shift_JIS unless it is UTF-8).
TEST_F(ArchiveHostileTest, OfSeveralModelsTheFirstIsReadAndNamed) {
    const std::string first = Mqo(TriangleObject("first"));
    const std::string second = Mqo(TriangleObject("second"));
    const std::string wheelSjis = "\x8E\xD4\x97\xD6.mqo";  // 車輪.mqo in Shift_JIS
    const std::vector<ModelMembersCase> cases = {
        {"one model and its texture",
         {{"textures/wheel.png", std::string(300, '\x89')}, {"trolley.mqo", first}},
         1,
         "first",
         ""},
        {"two models",
         {{"first.mqo", first}, {"second.MQO", second}},
         2,
         "first",
         ": the archive holds 2 Metasequoia (.mqo) files; only first.mqo was read"},
        {"three models, the first named in Shift_JIS",
         {{"readme.txt", "notes"}, {wheelSjis, second}, {"a.mqo", first}, {"b.mqo", first}},
         3,
         "second",
         ": the archive holds 3 Metasequoia (.mqo) files; only \xE8\xBB\x8A\xE8\xBC\xAA.mqo was "
         "read"},
    };
    for (const ModelMembersCase& row : cases) {
        SCOPED_TRACE(row.label);
        const std::string archive = ZipOf(row.members);
        ObjectStore store;
        const ImportResult result = ImportMetasequoiaBytes(archive, store);
        EXPECT_EQ(result.status, ImportStatus::kImported);
        EXPECT_EQ(result.archiveModels, row.models);
        ASSERT_EQ(store.objects.GetCount(), 1);
        EXPECT_EQ(store.objects.GetHead()->name, row.readObject);

        const fs::path input = folder_ / "model.mqoz";
        WriteFile(input, archive);
        const ProcessResult cli = ConvertWithCli(input);
        EXPECT_EQ(cli.exitStatus, 0) << cli.err;
        const std::string expected =
            row.warning.empty() ? ""
                                : "korvane-cli: warning: " + input.string() + row.warning + "\n";
        EXPECT_EQ(cli.err, expected);
    }
}

}  // namespace
}  // namespace korvane::testing
