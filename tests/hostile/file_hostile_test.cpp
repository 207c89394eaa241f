#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "document/object_store.h"
#include "hostile_models.h"
#include "hostile_support.h"
#include "import/file_bytes.h"

namespace korvane::testing {
namespace {

using FileHostileTest = HostileTest;

constexpr uid_t kNobody = 65534;
const std::string kNotAModel =
    "not a Metasequoia (.mqo), LightWave (.lwo) or ruvoPatch (.rvp) file";

struct NamedModel {
    std::string name;
    std::string bytes;
    std::size_t signatureEnd;  // a shorter prefix is not recognised
};

std::vector<NamedModel> ValidModels() {
    return {{"every construct.mqo", EveryConstructMqo(), 11},
            {"layers.lwo", EveryConstructLwo2(), 12},
            {"older layout.lwo", EveryConstructLwob(), 12}};
}

// Whether the bytes at `position` are part of what tells the format: the first word of a
// Metasequoia file and its blank, "FORM" and the form type of a LightWave file.
bool DecidesFormat(const NamedModel& model, std::size_t position) {
    const bool lightWave = model.bytes.starts_with("FORM");
    return lightWave ? position < 4 || (position >= 8 && position < 12) : position < 12;
}

// Every prefix of a valid file converts whole in memory; the objects only grow as the cut moves
// on; the tool survives a cut at a spread of offsets.
TEST_F(FileHostileTest, ValidFileCutAtEveryByte) {
    for (const NamedModel& model : ValidModels()) {
        SCOPED_TRACE(model.name);
        ObjectStore whole;
        const ImportResult full = ImportAndConvert(model.bytes, whole);
        ASSERT_FALSE(full.truncated);
        std::int32_t previous = 0;
        for (std::size_t length = 0; length <= model.bytes.size(); ++length) {
            const std::string_view cut = std::string_view(model.bytes).substr(0, length);
            ObjectStore store;
            const ImportResult result = ImportAndConvert(cut, store);
            ASSERT_EQ(result.status, length < model.signatureEnd ? ImportStatus::kNotThatFormat
                                                                 : ImportStatus::kImported)
                << length;
            ASSERT_GE(result.objectsAdded, previous) << length;
            previous = result.objectsAdded;
            if (length % 61 == 0 || length == model.bytes.size()) {
                ExpectCliEnds(cut, length < model.signatureEnd ? 2 : 0);
            }
        }
        EXPECT_EQ(previous, whole.objects.GetCount());
    }
}

// A 0xFF byte, which a byte-by-byte scan might take for the end of the file, in every position.
TEST_F(FileHostileTest, AllOnesByteInEveryPosition) {
    for (const NamedModel& model : ValidModels()) {
        SCOPED_TRACE(model.name);
        for (std::size_t position = 0; position < model.bytes.size(); ++position) {
            std::string bytes = model.bytes;
            bytes[position] = '\xFF';
            ObjectStore store;
            const ImportResult result = ImportAndConvert(bytes, store);
            ASSERT_EQ(result.status, DecidesFormat(model, position) ? ImportStatus::kNotThatFormat
                                                                    : ImportStatus::kImported)
                << position;
            if (position % 67 == 0) {
                ExpectCliEnds(bytes, DecidesFormat(model, position) ? 2 : 0);
            }
        }
    }
}

TEST_F(FileHostileTest, EmptyFile) {
    ObjectStore store;
    EXPECT_EQ(ImportMetasequoiaBytes("", store).status, ImportStatus::kNotThatFormat);
    EXPECT_EQ(ImportLightWaveBytes("", "empty", store).status, ImportStatus::kNotThatFormat);
    const fs::path path = folder_ / "empty.mqo";
    WriteFile(path, "");
    EXPECT_EQ(ImportMetasequoia(path.string(), store).status, ImportStatus::kNotThatFormat);
    EXPECT_EQ(ImportLightWave(path.string(), "empty", store).status, ImportStatus::kNotThatFormat);
    EXPECT_TRUE(store.objects.IsEmpty());
    const ProcessResult cli = ExpectCliEnds("", 2, "empty.mqo");
    EXPECT_NE(cli.err.find(kNotAModel), std::string::npos) << cli.err;
}

// A Unix socket bound at the path, closed when the test ends.
class BoundSocket {
  public:
    explicit BoundSocket(const fs::path& path) : fd_(socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string name = path.string();
        if (fd_ < 0 || name.size() >= sizeof address.sun_path) {
            return;
        }
        name.copy(address.sun_path, name.size());
        bound_ = bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    BoundSocket(const BoundSocket&) = delete;
    BoundSocket& operator=(const BoundSocket&) = delete;
    ~BoundSocket() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    bool bound() const { return bound_; }

  private:
    int fd_;
    bool bound_ = false;
};

struct NotRegularCase {
    const char* label;
    fs::path path;  // empty when this system has none
    FileKind kind;
    std::string reason;  // what the tool says after the path
};

// A folder, a pipe without a writer, an endless device and a socket are refused before a byte is
// read, by the readers and by the tool, which ends at once instead of waiting on the pipe for
// ever. A link to such a file is what it names.
TEST_F(FileHostileTest, FilesThatAreNotRegularAreRefusedAtOnce) {
    const fs::path fifo = folder_ / "pipe.mqo";
    const fs::path folder = folder_ / "folder.mqo";
    const fs::path socketPath = folder_ / "socket.mqo";
    const fs::path linkToFifo = folder_ / "link.mqo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    fs::create_directory(folder);
    const BoundSocket socket(socketPath);
    ASSERT_TRUE(socket.bound());
    fs::create_symlink(fifo, linkToFifo);
    const std::string pipeReason = "cannot be read: a pipe (FIFO), not a regular file";
    const std::vector<NotRegularCase> cases = {
        {"a folder", folder, FileKind::kFolder, "is a folder, not a model file"},
        {"a pipe without a writer", fifo, FileKind::kPipe, pipeReason},
        {"a link to the pipe", linkToFifo, FileKind::kPipe, pipeReason},
        {"an endless device", fs::is_character_file("/dev/zero") ? "/dev/zero" : "",
         FileKind::kDevice, "cannot be read: a device, not a regular file"},
        {"a socket", socketPath, FileKind::kSocket, "cannot be read: a socket, not a regular file"},
    };
    for (const NotRegularCase& row : cases) {
        SCOPED_TRACE(row.label);
        if (row.path.empty()) {
            continue;
        }
        std::string bytes;
        const FileRead start = ReadFileStart(row.path.string(), 64, bytes);
        EXPECT_EQ(start.status, FileReadStatus::kNotRegularFile);
        EXPECT_EQ(start.kind, row.kind);
        EXPECT_EQ(CheckReadableFile(row.path.string()).kind, row.kind);
        ObjectStore store;
        EXPECT_EQ(ImportMetasequoia(row.path.string(), store).status,
                  ImportStatus::kNotRegularFile);
        EXPECT_EQ(ImportLightWave(row.path.string(), "model", store).status,
                  ImportStatus::kNotRegularFile);
        EXPECT_TRUE(store.objects.IsEmpty());
        // The time limit only ends a tool that hangs; 124 is its status then.
        const ProcessResult cli = ConvertWithCli(row.path, "timeout 60 ");
        EXPECT_EQ(cli.exitStatus, 2) << cli.err;
        EXPECT_NE(cli.err.find(row.path.string() + ": " + row.reason), std::string::npos)
            << cli.err;
    }
}

// The reader's status for a file it may not read. The superuser reads everything, so as root the
// import runs in a child process that has given up root for the unprivileged user "nobody";
// nothing when that is not allowed here.
std::optional<ImportStatus> StatusWithoutReadPermission(const fs::path& path) {
    if (geteuid() != 0) {
        ObjectStore store;
        return ImportMetasequoia(path.string(), store).status;
    }
    constexpr int kCannotDropRoot = 100;
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) {
            _exit(kCannotDropRoot);
        }
        ObjectStore store;
        _exit(static_cast<int>(ImportMetasequoia(path.string(), store).status));
    }
    int raw = 0;
    waitpid(child, &raw, 0);
    if (!WIFEXITED(raw) || WEXITSTATUS(raw) == kCannotDropRoot) {
        return std::nullopt;
    }
    return static_cast<ImportStatus>(WEXITSTATUS(raw));
}

TEST_F(FileHostileTest, FileWithoutReadPermission) {
    fs::permissions(folder_, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const fs::path path = folder_ / "locked.mqo";
    WriteFile(path, EveryConstructMqo());
    fs::permissions(path, fs::perms::none);
    const std::optional<ImportStatus> status = StatusWithoutReadPermission(path);
    if (!status) {
        GTEST_SKIP() << "running as root, and root may not give up its rights here";
    }
    EXPECT_EQ(*status, ImportStatus::kCannotOpen);

    std::string asUnprivileged;
    if (geteuid() == 0) {
        asUnprivileged = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
        if (std::system((asUnprivileged + "true 2> /dev/null").c_str()) != 0) {
            GTEST_SKIP() << "no setpriv to run the tool as an unprivileged user";
        }
    }
    const ProcessResult cli = ConvertWithCli(path, asUnprivileged);
    EXPECT_EQ(cli.exitStatus, 2) << cli.err;
    EXPECT_NE(cli.err.find("cannot be read: Permission denied"), std::string::npos) << cli.err;
}

TEST_F(FileHostileTest, FileOfNeitherFormat) {
    const std::vector<std::string> files = {
        std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
        LwoFile("ILBM", Chunk("BMHD", std::string(20, '\0'))),
        "metasequoia Document\nEof\n",
        "Metasequoia2 Document\nEof\n",
        std::string(1000, '\0'),
        "FORM",
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(i);
        ObjectStore store;
        EXPECT_EQ(ImportMetasequoiaBytes(files[i], store).status, ImportStatus::kNotThatFormat);
        EXPECT_EQ(ImportLightWaveBytes(files[i], "x", store).status, ImportStatus::kNotThatFormat);
        EXPECT_TRUE(store.objects.IsEmpty());
        const ProcessResult cli = ExpectCliEnds(files[i], 2, "model.mqo");
        EXPECT_NE(cli.err.find(kNotAModel), std::string::npos) << cli.err;
    }
}

}  // namespace
}  // namespace korvane::testing
