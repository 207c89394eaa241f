#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "document/object_store.h"
#include "hostile_models.h"
#include "hostile_support.h"
#include "import/rvp_reader.h"
#include "support/rvp_layout.h"

// The ruvoPatch reader on damaged exports: every prefix, the widest and narrowest 32-bit values at
// every offset, a 0xFF byte in every position. A file is either refused whole with a reason or
// read into sound networks that the rest of a conversion can take; the tool, held to 1 GB, never
// allocates from a count the file cannot back.

namespace korvane::testing {
namespace {

using RvpHostileTest = HostileTest;

// The connected export of a model with every construct the readers know: several objects, open
// and closed splines, points of many references.
std::string ExportedFile() {
    ObjectStore store;
    ImportAndConvert(EveryConstructMqo(), store);
    const std::vector<std::uint8_t> bytes = SerializeRvp(store.objects);
    return {bytes.begin(), bytes.end()};
}

// Reads in memory and converts what was read; returns the reader's error.
std::string ReadAndConvert(std::string_view bytes) {
    ObjectStore store;
    const RvpReadResult read = ImportRvpBytes(bytes, store);
    EXPECT_EQ(read.objectsAdded, store.objects.GetCount());
    EXPECT_TRUE(read.error.empty() || store.objects.IsEmpty()) << read.error;
    ExpectConvertsInMemory(store);
    return read.error;
}

// Every prefix is refused whole; the command-line tool's side of it is a test of its own.
TEST_F(RvpHostileTest, CutAtEveryByte) {
    const std::string file = ExportedFile();
    ASSERT_GT(file.size(), 200u);
    ASSERT_EQ(ReadAndConvert(file), "");
    for (std::size_t length = 0; length < file.size(); ++length) {
        ASSERT_NE(ReadAndConvert(std::string_view(file).substr(0, length)), "") << length;
    }
}

// Every word of the file replaced by an extreme value: where it is a count, the file is refused
// before anything is allocated for it, which the tool shows by surviving its memory limit.
TEST_F(RvpHostileTest, ExtremeWordAtEveryOffset) {
    const std::string file = ExportedFile();
    int countsHit = 0;
    for (std::size_t at = 0; at + 4 <= file.size(); ++at) {
        for (const std::uint32_t value : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x00FFFFFFu}) {
            std::string bytes = file;
            OverwriteU32(bytes, at, value);
            const std::string error = ReadAndConvert(bytes);
            const bool count =
                error.find("counted at byte " + std::to_string(at) + " ") != std::string::npos;
            countsHit += count ? 1 : 0;
            if (count && value >= 0x7FFFFFFFu) {
                const ProcessResult cli = ExpectCliEnds(bytes, 2, "count.rvp");
                EXPECT_EQ(std::count(cli.err.begin(), cli.err.end(), '\n'), 1) << cli.err;
            }
        }
    }
    EXPECT_GT(countsHit, 20);
}

TEST_F(RvpHostileTest, AllOnesByteInEveryPosition) {
    const std::string file = ExportedFile();
    for (std::size_t position = 0; position < file.size(); ++position) {
        std::string bytes = file;
        bytes[position] = '\xFF';
        ReadAndConvert(bytes);
        if (position % 67 == 0) {
            const ProcessResult cli =
                ExpectCliEnds(bytes, ReadAndConvert(bytes).empty() ? 0 : 2, "byte.rvp");
            EXPECT_LE(std::count(cli.err.begin(), cli.err.end(), '\n'), 1) << cli.err;
        }
    }
}

}  // namespace
}  // namespace korvane::testing
