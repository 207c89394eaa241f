#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "patch/atomic_file_writer.h"
#include "patch/rvp_writer.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

class AtomicFileWriterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::path(::testing::TempDir()) / "korvane-write-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path folder_;
};

TEST_F(AtomicFileWriterTest, WrittenFileHoldsExactlyTheBytes) {
    PatchObject* object = new PatchObject;
    object->name = "E";
    object->AddControlPoint({0, 0, 0});
    object->AddControlPoint({1, 0, 0});
    object->AddSpline(std::vector<std::int32_t>{0, 1});
    object->IndexReferences();
    ObjectList<PatchObject> objects;
    objects.AddTail(object);

    const fs::path target = folder_ / "model.rvp";
    const WriteResult result = WriteRvpFile(target.string(), objects);
    EXPECT_EQ(result.status, WriteStatus::kWritten);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(ReadAll(target), SerializeRvp(objects));
    EXPECT_EQ(ReadAll(target).size(), 164u);
    EXPECT_EQ(Entries(folder_), std::vector<std::string>{"model.rvp"});

    delete object;
    objects.RemoveAll();
}

TEST_F(AtomicFileWriterTest, NewFileGetsUsualPermissions) {
    const mode_t mask = umask(022);
    const fs::path target = folder_ / "new.rvp";
    EXPECT_EQ(WriteFileAtomically(target.string(), Bytes("abc")).status, WriteStatus::kWritten);
    umask(mask);
    EXPECT_EQ(ModeOf(target), 0644u);
}

TEST_F(AtomicFileWriterTest, ReplacedFileKeepsItsPermissions) {
    const fs::path target = folder_ / "old.rvp";
    WriteText(target, "an older and longer content");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);

    EXPECT_EQ(WriteFileAtomically(target.string(), Bytes("new")).status, WriteStatus::kWritten);
    EXPECT_EQ(ReadAll(target), Bytes("new"));
    EXPECT_EQ(ModeOf(target), 0640u);
    EXPECT_EQ(Entries(folder_), std::vector<std::string>{"old.rvp"});
}

TEST_F(AtomicFileWriterTest, EmptyContentGivesAnEmptyFile) {
    const fs::path target = folder_ / "empty.rvp";
    WriteText(target, "old");
    EXPECT_EQ(WriteFileAtomically(target.string(), {}).status, WriteStatus::kWritten);
    EXPECT_TRUE(ReadAll(target).empty());
}

TEST_F(AtomicFileWriterTest, MissingFolderCannotBeCreated) {
    const fs::path target = folder_ / "missing" / "model.rvp";
    const WriteResult result = WriteFileAtomically(target.string(), Bytes("abc"));
    EXPECT_EQ(result.status, WriteStatus::kCannotCreate);
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(Entries(folder_).empty());

    EXPECT_EQ(WriteFileAtomically("", Bytes("abc")).status, WriteStatus::kCannotCreate);
}

TEST_F(AtomicFileWriterTest, FolderInTheWayIsLeftAsItWasWithNoTemporaryBehind) {
    const fs::path target = folder_ / "model.rvp";
    fs::create_directory(target);
    WriteText(target / "inside", "keep me");

    const WriteResult result = WriteFileAtomically(target.string(), Bytes("abc"));
    EXPECT_EQ(result.status, WriteStatus::kCannotCreate);
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(ReadAll(target / "inside"), Bytes("keep me"));
    EXPECT_EQ(Entries(folder_), std::vector<std::string>{"model.rvp"});
}

TEST_F(AtomicFileWriterTest, VeryLongTargetNameStillGetsATemporary) {
    const std::string name = std::string(250, 'x') + ".rvp";  // 254: no room for a suffix
    const fs::path target = folder_ / name;
    EXPECT_EQ(WriteFileAtomically(target.string(), Bytes("abc")).status, WriteStatus::kWritten);
    EXPECT_EQ(ReadAll(target), Bytes("abc"));
    EXPECT_EQ(Entries(folder_), std::vector<std::string>{name});
}

// Caps the size of files this process may write, as a full disk would, for one scope.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, previousHandler_);
    }

  private:
    rlimit saved_{};
    sighandler_t previousHandler_;
};

TEST_F(AtomicFileWriterTest, FailedWriteLeavesTheOldFileAndNoTemporary) {
    const fs::path target = folder_ / "model.rvp";
    WriteText(target, "the old contents");
    const std::vector<std::uint8_t> large(64 * 1024, 0xAB);

    WriteResult result;
    {
        FileSizeLimit limit(4096);
        result = WriteFileAtomically(target.string(), large);
    }
    EXPECT_EQ(result.status, WriteStatus::kWriteFailed);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(ReadAll(target), Bytes("the old contents"));
    EXPECT_EQ(Entries(folder_), std::vector<std::string>{"model.rvp"});
}

TEST(WriteAllBytesTest, FullDeviceReportsNoSpace) {
    const int fd = open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        GTEST_SKIP() << "no /dev/full here";
    }
    const std::vector<std::uint8_t> bytes(100, 1);
    EXPECT_EQ(WriteAllBytes(fd, bytes), ENOSPC);
    close(fd);
}

TEST(WriteAllBytesTest, PipeReceivesEveryByteInOrder) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    std::vector<std::uint8_t> bytes(1000);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    }
    EXPECT_EQ(WriteAllBytes(ends[1], bytes), 0);
    close(ends[1]);
    std::vector<std::uint8_t> received(2000);
    std::size_t got = 0;
    for (ssize_t n; (n = read(ends[0], received.data() + got, received.size() - got)) > 0;) {
        got += static_cast<std::size_t>(n);
    }
    close(ends[0]);
    received.resize(got);
    EXPECT_EQ(received, bytes);
    EXPECT_EQ(WriteAllBytes(-1, bytes), EBADF);
}

}  // namespace
}  // namespace korvane
