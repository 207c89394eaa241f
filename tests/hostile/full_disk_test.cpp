#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "document/object_store.h"
#include "export/export_formats.h"
#include "export/surface_mesh_writer.h"
#include "hostile_models.h"
#include "hostile_support.h"
#include "support/found_patches.h"

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

// A closed box of six quadrilateral patches; at resolution 4 its surfaces take some 30 KB as OBJ.
std::string BoxModel() {
    return Mqo(
        "Object \"box\" {\n\tvertex 8 {\n\t\t0 0 0\n\t\t100 0 0\n\t\t100 100 0\n"
        "\t\t0 100 0\n\t\t0 0 100\n\t\t100 0 100\n\t\t100 100 100\n\t\t0 100 100\n\t}\n"
        "\tface 6 {\n\t\t4 V(0 3 2 1)\n\t\t4 V(4 5 6 7)\n\t\t4 V(0 1 5 4)\n"
        "\t\t4 V(1 2 6 5)\n\t\t4 V(2 3 7 6)\n\t\t4 V(3 0 4 7)\n\t}\n}\n");
}

// The regular files of a folder, by name, with their bytes; a file named `except` is left out.
using FileSet = std::map<std::string, std::string>;

FileSet FilesIn(const fs::path& folder, const std::string& except = "") {
    FileSet files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != except) {
            files[name] = entry.is_regular_file() ? ReadWholeFile(entry.path()) : "<not a file>";
        }
    }
    return files;
}

void PutFiles(const fs::path& folder, const FileSet& files) {
    for (const auto& [name, bytes] : files) {
        WriteFile(folder / name, bytes);
    }
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

// A file system of its own of the given size, mounted when the tests may mount (as root, outside
// a locked-down container); the tests skip otherwise.
class MountedDiskTest : public HostileTest {
  protected:
    explicit MountedDiskTest(std::string size) : size_(std::move(size)) {}

    void SetUp() override {
        HostileTest::SetUp();
        disk_ = folder_ / "disk";
        fs::create_directory(disk_);
        if (mount("korvane-tiny", disk_.c_str(), "tmpfs", 0, ("size=" + size_).c_str()) != 0) {
            GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
        }
        mounted_ = true;
    }
    void TearDown() override {
        if (mounted_) {
            umount2(disk_.c_str(), MNT_DETACH);
        }
        HostileTest::TearDown();
    }

    fs::path disk_;

  private:
    std::string size_;
    bool mounted_ = false;
};

// A 64 KB disk holding a 20 KB file at the target.
class TinyDiskTest : public MountedDiskTest {
  protected:
    TinyDiskTest() : MountedDiskTest("64k") {}

    void SetUp() override {
        MountedDiskTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        target_ = disk_ / "model.rvp";
        old_ = std::string(20000, '\0');
        for (std::size_t i = 0; i < old_.size(); ++i) {
            old_[i] = static_cast<char>(i * 131 % 251);
        }
        WriteFile(target_, old_);
        ASSERT_EQ(ReadWholeFile(target_), old_);
    }

    void ExpectOldFileAlone() {
        EXPECT_EQ(ReadWholeFile(target_), old_) << "the old file changed";
        EXPECT_EQ(Entries(disk_), std::vector<std::string>{"model.rvp"});
    }

    fs::path target_;
    std::string old_;
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

// Where a surface mesh export writes a main file and a companion that it names.
struct PairFormat {
    const char* main;
    const char* companion;
};
constexpr PairFormat kPairFormats[] = {{"model.obj", "model.mtl"}, {"model.gltf", "model.bin"}};

constexpr std::uint64_t kPage = 4096;  // the unit in which a tmpfs hands out its space
constexpr int kOlderResolution = 1;
constexpr int kNewerResolution = 4;

std::uint64_t PagesOf(const std::string& bytes) {
    return (bytes.size() + kPage - 1) / kPage;
}

// A 256 KB disk that is filled up to the free space a test asks for.
class PairDiskTest : public MountedDiskTest {
  protected:
    PairDiskTest() : MountedDiskTest("256k") {}

    void SetUp() override {
        MountedDiskTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        Import(BoxModel(), store_);
        WithPatches(store_.objects);
    }

    // Empties the disk, puts files on it and fills it up to `room` free pages.
    void Prepare(const FileSet& files, std::uint64_t room) {
        for (const auto& entry : fs::directory_iterator(disk_)) {
            fs::remove_all(entry.path());
        }
        PutFiles(disk_, files);
        struct statvfs info {};
        ASSERT_EQ(statvfs(disk_.c_str(), &info), 0);
        const std::uint64_t free = std::uint64_t{info.f_bavail} * info.f_frsize;
        ASSERT_GE(free, room * kPage);
        WriteFile(disk_ / kFiller, std::string(free - room * kPage, '\0'));
        ASSERT_EQ(statvfs(disk_.c_str(), &info), 0);
        ASSERT_EQ(std::uint64_t{info.f_bavail} * info.f_frsize, room * kPage);
    }

    // The files an export of the box writes where there is room enough.
    FileSet ExportWithRoom(const PairFormat& format, int resolution) {
        const fs::path folder = folder_ / "with room";
        fs::remove_all(folder);
        fs::create_directory(folder);
        const WriteResult written =
            WriteSurfaceMesh((folder / format.main).string(), store_.objects, resolution);
        EXPECT_EQ(written.status, WriteStatus::kWritten) << written.error;
        return FilesIn(folder);
    }

    FileSet OnDisk() const { return FilesIn(disk_, kFiller); }

    static constexpr const char* kFiller = "filler";
    ObjectStore store_;
};

// A pair export, fresh and over an older pair, on a disk that runs out at every page the new pair
// needs: either the whole new pair is in place, or the full disk is reported and the disk holds
// exactly what it held, without a temporary or a lone companion.
TEST_F(PairDiskTest, PairExportRunningOutAtAnyPageKeepsWhatWasThere) {
    for (const PairFormat& format : kPairFormats) {
        const FileSet older = ExportWithRoom(format, kOlderResolution);
        const FileSet newer = ExportWithRoom(format, kNewerResolution);
        ASSERT_EQ(newer.size(), 2u);
        const std::uint64_t pages =
            PagesOf(newer.at(format.main)) + PagesOf(newer.at(format.companion));
        for (const FileSet& before : {FileSet{}, older}) {
            for (std::uint64_t room = 0; room <= pages; ++room) {
                SCOPED_TRACE(std::string(format.main) +
                             (before.empty() ? ", fresh" : ", over older") +
                             ", free pages: " + std::to_string(room));
                Prepare(before, room);
                const WriteResult result = WriteSurfaceMesh((disk_ / format.main).string(),
                                                            store_.objects, kNewerResolution);
                if (room == pages) {
                    EXPECT_EQ(result.status, WriteStatus::kWritten) << result.error;
                    EXPECT_EQ(OnDisk(), newer);
                } else {
                    EXPECT_EQ(result.status, WriteStatus::kWriteFailed);
                    EXPECT_NE(result.error.find("No space left"), std::string::npos)
                        << result.error;
                    EXPECT_EQ(OnDisk(), before);
                }
            }
        }
    }
}

// The tool, over an older pair, with room for the new companion but not for the new main file.
TEST_F(PairDiskTest, ToolReportsTheFullDiskAndKeepsTheOlderPair) {
    const fs::path input = folder_ / "box.mqo";
    WriteFile(input, BoxModel());
    for (const PairFormat& format : kPairFormats) {
        SCOPED_TRACE(format.main);
        const FileSet older = ExportWithRoom(format, kOlderResolution);
        const FileSet newer = ExportWithRoom(format, kNewerResolution);
        Prepare(older, PagesOf(newer.at(format.companion)));
        const std::string target = (disk_ / format.main).string();
        const ProcessResult cli = RunProcess(
            KORVANE_CLI_PATH, {"convert", "--resolution", std::to_string(kNewerResolution), "-o",
                               target, input.string()});
        EXPECT_EQ(cli.exitStatus, 3);
        EXPECT_NE(cli.err.find("cannot write " + target + ": No space left on device"),
                  std::string::npos)
            << cli.err;
        EXPECT_EQ(OnDisk(), older);
    }
}

// Under a file-size limit (`ulimit -f`, in 512-byte blocks, here 4 KB) every output fails as an
// ordinary write: the tool reports it and ends with status 3 instead of being killed by the
// signal, and leaves no temporary, no lone companion, and any older files as they were. The .mtl
// fits under the limit, so the failed .obj must take its new .mtl away again; of a .gltf, the
// .bin is the file that outgrows the limit.
TEST_F(HostileTest, FileSizeLimitFailsTheWriteAndKeepsWhatWasThere) {
    struct Case {
        const char* output;
        const char* companion;  // written beside it, or nothing
        bool companionFails;    // the companion outgrows the limit, not the output
    };
    const Case cases[] = {{"model.rvp", nullptr, false},     {"model.obj", "model.mtl", false},
                          {"model.ply", nullptr, false},     {"model.stl", nullptr, false},
                          {"model.gltf", "model.bin", true}, {"model.glb", nullptr, false}};
    const fs::path box = folder_ / "box.mqo";
    const fs::path large = folder_ / "large.mqo";
    WriteFile(box, BoxModel());
    WriteFile(large, LargeModel());
    int index = 0;
    for (const Case& test : cases) {
        for (const bool overOlder : {false, true}) {
            SCOPED_TRACE(std::string(test.output) + (overOlder ? ", over older files" : ", fresh"));
            const fs::path folder = folder_ / std::to_string(index++);
            fs::create_directory(folder);
            FileSet before;
            if (overOlder) {
                before[test.output] = "older main file";
                if (test.companion != nullptr) {
                    before[test.companion] = "older companion";
                }
            }
            PutFiles(folder, before);
            const fs::path target = folder / test.output;
            const bool mesh = ExportFormatOf(target.string()) == ExportFormat::kSurfaceMesh;
            std::vector<std::string> args{"convert", "-o", target.string()};
            if (mesh) {
                args.insert(args.end(), {"--resolution", std::to_string(kNewerResolution)});
            }
            args.push_back((mesh ? box : large).string());
            const ProcessResult cli = RunProcess(KORVANE_CLI_PATH, args, "ulimit -f 8; ");
            EXPECT_EQ(cli.exitStatus, 3);
            const std::string failing =
                test.companionFails ? (folder / test.companion).string() + ": " : "";
            EXPECT_NE(
                cli.err.find("cannot write " + target.string() + ": " + failing + "File too large"),
                std::string::npos)
                << cli.err;
            EXPECT_EQ(FilesIn(folder), before);
        }
    }
}

}  // namespace
}  // namespace korvane::testing
