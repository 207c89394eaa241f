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
#include <map>
#include <string>
#include <vector>

#include "export/atomic_file_set.h"
#include "export/atomic_file_writer.h"
#include "export/rvp_writer.h"

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
    PatchObject stored;
    PatchObject* object = &stored;
    object->name = "E";
    object->AddControlPoint({0, 0, 0});
    object->AddControlPoint({1, 0, 0});
    object->AddSpline(std::vector<std::int32_t>{0, 1});
    object->IndexReferences();
    ObjectList<PatchObject> objects;
    objects.Append(object);

    const fs::path target = folder_ / "model.rvp";
    const WriteResult result = WriteRvpFile(target.string(), objects);
    EXPECT_EQ(result.status, WriteStatus::kWritten);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(ReadAll(target), SerializeRvp(objects));
    EXPECT_EQ(ReadAll(target).size(), 164u);
    EXPECT_EQ(Entries(folder_), std::vector<std::string>{"model.rvp"});
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

// Everything under folder: each file's bytes, "<folder>" for each folder, by relative path.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::vector<std::uint8_t> bytes =
            entry.is_directory() ? std::vector<std::uint8_t>{} : ReadAll(entry.path());
        entries[fs::relative(entry.path(), folder).string()] =
            entry.is_directory() ? "<folder>" : std::string(bytes.begin(), bytes.end());
    }
    return entries;
}

enum class Before { kNothing, kOldFile, kFolder };

void Prepare(const fs::path& path, Before before, const std::string& oldText) {
    if (before == Before::kOldFile) {
        WriteText(path, oldText);
        ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    } else if (before == Before::kFolder) {
        fs::create_directory(path);
        WriteText(path / "inside", "keep me");
    }
}

// A companion file and the main file that names it, over what was at their paths: the set is in
// place whole, or nothing changed (no temporary, no new companion, every old file as it was).
TEST_F(AtomicFileWriterTest, FileSetIsReplacedWholeOrLeftAsItWas) {
    struct Case {
        const char* name;
        Before companion;
        Before main;
    };
    const Case cases[] = {
        {"fresh", Before::kNothing, Before::kNothing},
        {"over an old set", Before::kOldFile, Before::kOldFile},
        {"over an old main file", Before::kNothing, Before::kOldFile},
        {"folder at the companion", Before::kFolder, Before::kOldFile},
        {"folder at the main file, new companion", Before::kNothing, Before::kFolder},
        {"folder at the main file, old companion", Before::kOldFile, Before::kFolder},
    };
    int index = 0;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const fs::path folder = folder_ / std::to_string(index++);
        fs::create_directory(folder);
        const fs::path companion = folder / "m.mtl";
        const fs::path main = folder / "m.obj";
        Prepare(companion, test.companion, "old companion");
        Prepare(main, test.main, "old main, longer than the new one");
        const auto before = Snapshot(folder);

        const std::vector<std::uint8_t> companionBytes = Bytes("new companion");
        const std::vector<std::uint8_t> mainBytes = Bytes("new main");
        const FileToWrite set[] = {{companion.string(), companionBytes},
                                   {main.string(), mainBytes}};
        const WriteResult result = WriteFileSetAtomically(set);

        const bool goesIn = test.main != Before::kFolder && test.companion != Before::kFolder;
        if (goesIn) {
            EXPECT_EQ(result.status, WriteStatus::kWritten) << result.error;
            EXPECT_EQ(Snapshot(folder), (std::map<std::string, std::string>{
                                            {"m.mtl", "new companion"}, {"m.obj", "new main"}}));
            if (test.companion == Before::kOldFile) {
                EXPECT_EQ(ModeOf(companion), 0640u);
            }
            continue;
        }
        // A companion's failure names it; the main file's is the caller's to name.
        EXPECT_EQ(result.status, WriteStatus::kCannotCreate);
        EXPECT_EQ(result.error.starts_with(companion.string() + ": "),
                  test.companion == Before::kFolder)
            << result.error;
        EXPECT_EQ(Snapshot(folder), before);
        if (test.companion == Before::kOldFile) {
            EXPECT_EQ(ModeOf(companion), 0640u);
        }
    }
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
