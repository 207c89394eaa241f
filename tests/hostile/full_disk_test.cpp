#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "hostile_models.h"
#include "hostile_support.h"

// A failed export loses nothing: the file at the target keeps every byte, no temporary file stays
// behind, and the failure is reported.

namespace korvane::testing {
namespace {

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool IsCharacterDevice(const fs::path& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

// A model whose export takes about 100 KB: 5000 loose vertices.
std::string LargeModel() {
    std::string vertices;
    for (int i = 0; i < 5000; ++i) {
        vertices += "\t\t" + std::to_string(i) + " 0 0\n";
    }
    return Mqo("Object \"large\" {\n\tvertex 5000 {\n" + vertices + "\t}\n}\n");
}

void Import(const std::string& bytes, ObjectStore& store) {
    ASSERT_EQ(ImportMetasequoiaBytes(bytes, store).status, ImportStatus::kImported);
}

// A device has no contents to keep; writing to it must report the full device and leave the
// device itself in place (a rename would have put a regular file there).
TEST(FullDeviceTest, ExportToDevFullFailsAndLeavesTheDevice) {
    if (!IsCharacterDevice("/dev/full")) {
        GTEST_SKIP() << "no /dev/full here";
    }
    ObjectStore store;
    Import(LargeModel(), store);
    const WriteResult result = WriteRvpFile("/dev/full", store.objects);
    EXPECT_EQ(result.status, WriteStatus::kWriteFailed);
    EXPECT_NE(result.error.find("No space left"), std::string::npos) << result.error;
    EXPECT_TRUE(IsCharacterDevice("/dev/full"));
    for (const std::string& name : Entries("/dev")) {
        EXPECT_FALSE(name.starts_with("full.")) << name;
    }

    const fs::path input = fs::path(::testing::TempDir()) / "korvane-full-device.mqo";
    WriteFile(input, EveryConstructMqo());
    const ProcessResult cli = RunProcess(KORVANE_CLI_PATH, {"convert", "-o", "/dev/full", input});
    fs::remove(input);
    EXPECT_EQ(cli.exitStatus, 3);
    EXPECT_NE(cli.err.find("/dev/full: No space left on device"), std::string::npos) << cli.err;
    EXPECT_TRUE(IsCharacterDevice("/dev/full"));
}

// A FIFO at the target receives the file as a stream and stays a FIFO. Its reading end is open
// before the export, without waiting for a writer, and the file fits the pipe's buffer.
TEST_F(HostileTest, ExportToAFifoWritesThroughIt) {
    const fs::path fifo = folder_ / "pipe.rvp";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const int readEnd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(readEnd, 0);
    ObjectStore store;
    Import(EveryConstructMqo(), store);
    const WriteResult result = WriteRvpFile(fifo.string(), store.objects);
    EXPECT_EQ(result.status, WriteStatus::kWritten) << result.error;
    std::string received;
    char buffer[4096];
    for (ssize_t n = 0; (n = read(readEnd, buffer, sizeof buffer)) > 0;) {
        received.append(buffer, static_cast<std::size_t>(n));
    }
    close(readEnd);
    const std::vector<std::uint8_t> expected = SerializeRvp(store.objects);
    EXPECT_EQ(received, std::string(expected.begin(), expected.end()));
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(Entries(folder_), std::vector<std::string>{"pipe.rvp"});
}

// A 64 KB file system of its own, mounted when the tests may mount (as root, outside a locked-down
// container); the tests skip otherwise.
class TinyDiskTest : public HostileTest {
  protected:
    void SetUp() override {
        HostileTest::SetUp();
        disk_ = folder_ / "disk";
        fs::create_directory(disk_);
        if (mount("korvane-tiny", disk_.c_str(), "tmpfs", 0, "size=64k") != 0) {
            GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
        }
        mounted_ = true;
        target_ = disk_ / "model.rvp";
        old_ = std::string(20000, '\0');
        for (std::size_t i = 0; i < old_.size(); ++i) {
            old_[i] = static_cast<char>(i * 131 % 251);
        }
        WriteFile(target_, old_);
        ASSERT_EQ(ReadWholeFile(target_), old_);
    }
    void TearDown() override {
        if (mounted_) {
            umount2(disk_.c_str(), MNT_DETACH);
        }
        HostileTest::TearDown();
    }

    void ExpectOldFileAlone() {
        EXPECT_EQ(ReadWholeFile(target_), old_) << "the old file changed";
        EXPECT_EQ(Entries(disk_), std::vector<std::string>{"model.rvp"});
    }

    fs::path disk_;
    fs::path target_;
    std::string old_;
    bool mounted_ = false;
};

TEST_F(TinyDiskTest, ExportThatDoesNotFitKeepsTheOldFile) {
    ObjectStore store;
    Import(LargeModel(), store);
    ASSERT_GT(SerializeRvp(store.objects).size(), 64u * 1024u);
    const WriteResult result = WriteRvpFile(target_.string(), store.objects);
    EXPECT_EQ(result.status, WriteStatus::kWriteFailed);
    EXPECT_NE(result.error.find("No space left"), std::string::npos) << result.error;
    ExpectOldFileAlone();
}

TEST_F(TinyDiskTest, ToolReportsTheFullDiskAndKeepsTheOldFile) {
    const fs::path input = folder_ / "large.mqo";
    WriteFile(input, LargeModel());
    const ProcessResult cli =
        RunProcess(KORVANE_CLI_PATH, {"convert", "-o", target_.string(), input.string()});
    EXPECT_EQ(cli.exitStatus, 3);
    EXPECT_NE(cli.err.find("No space left on device"), std::string::npos) << cli.err;
    ExpectOldFileAlone();
}

// The same disk takes an export that fits: the failures above come from the space alone.
TEST_F(TinyDiskTest, ExportThatFitsReplacesTheOldFile) {
    ObjectStore store;
    Import(EveryConstructMqo(), store);
    const WriteResult result = WriteRvpFile(target_.string(), store.objects);
    ASSERT_EQ(result.status, WriteStatus::kWritten) << result.error;
    const std::vector<std::uint8_t> expected = SerializeRvp(store.objects);
    EXPECT_EQ(ReadWholeFile(target_), std::string(expected.begin(), expected.end()));
    EXPECT_EQ(Entries(disk_), std::vector<std::string>{"model.rvp"});
}

}  // namespace
}  // namespace korvane::testing
