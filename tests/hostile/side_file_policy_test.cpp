#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "hostile_support.h"
#include "tools/assimp_import/side_file_policy.h"

// The files the assimp helper lets a model read: the model and regular files in its folder and
// below, whatever path, link or URL names them.

namespace korvane::testing {
namespace {

std::string ReadAll(int fd) {
    std::string bytes;
    char buffer[256];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) {
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

std::string OpenedPath(int fd) {
    char link[PATH_MAX + 1];
    const ssize_t length =
        ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), link, PATH_MAX);
    return length > 0 ? std::string(link, static_cast<std::size_t>(length)) : std::string();
}

// model/ holds the model, its side files and every kind of thing a path can lead to; outside/
// holds what must never be read.
class SideFilePolicyTest : public HostileTest {
  protected:
    void SetUp() override {
        HostileTest::SetUp();
        model_ = fs::canonical(folder_) / "model";
        outside_ = fs::canonical(folder_) / "outside";
        fs::create_directories(model_ / "sub");
        fs::create_directories(outside_);
        WriteFile(model_ / "model.gltf", "{}");
        WriteFile(model_ / "buffer.bin", "inside");
        WriteFile(model_ / "sub" / "deep.bin", "deeper");
        WriteFile(outside_ / "secret.bin", "secret");
        WriteFile(outside_ / "real.gltf", "{\"real\": 1}");
        fs::create_symlink("../outside/secret.bin", model_ / "link-out");
        fs::create_symlink("buffer.bin", model_ / "link-in");
        fs::create_symlink("../outside", model_ / "away");
        fs::create_symlink("../outside/real.gltf", model_ / "alias.gltf");
        ASSERT_EQ(::mkfifo((model_ / "pipe").c_str(), 0600), 0);
        socket_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string socketPath = (model_ / "socket").string();
        ASSERT_LT(socketPath.size(), sizeof address.sun_path);
        socketPath.copy(address.sun_path, socketPath.size());
        ASSERT_EQ(::bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    }
    void TearDown() override {
        ::close(socket_);
        HostileTest::TearDown();
    }

    fs::path model_, outside_;
    int socket_ = -1;
};

TEST_F(SideFilePolicyTest, OnlyRegularFilesOfTheModelsFolderOpen) {
    const std::string in = model_.string() + "/";
    const struct {
        const char* name;
        std::string path;
        SideFileRefusal refusal;
        const char* content = "";    // what an opened file holds
        std::string modelPath = {};  // model.gltf unless given
    } cases[] = {
        {"beside the model", in + "buffer.bin", SideFileRefusal::kNone, "inside"},
        {"in a subfolder", in + "sub/deep.bin", SideFileRefusal::kNone, "deeper"},
        {"'..' that stays inside", in + "sub/../buffer.bin", SideFileRefusal::kNone, "inside"},
        {"'//' and '.'", in + "/./sub//deep.bin", SideFileRefusal::kNone, "deeper"},
        {"a link that stays inside", in + "link-in", SideFileRefusal::kNone, "inside"},
        {"file: URL inside", "file://" + in + "buffer.bin", SideFileRefusal::kNone, "inside"},
        {"file://localhost URL inside", "file://localhost" + in + "buffer.bin",
         SideFileRefusal::kNone, "inside"},
        {"the model itself", in + "model.gltf", SideFileRefusal::kNone, "{}"},
        {"a model named through a link leading out", in + "alias.gltf", SideFileRefusal::kNone,
         "{\"real\": 1}", in + "alias.gltf"},
        {"'..' that leaves", in + "../outside/secret.bin", SideFileRefusal::kOutsideFolder},
        {"'..' far past the root", in + "../../../../../../../../etc/passwd",
         SideFileRefusal::kOutsideFolder},
        {"absolute outside", outside_.string() + "/secret.bin", SideFileRefusal::kOutsideFolder},
        {"file: URL outside", "file:///etc/passwd", SideFileRefusal::kOutsideFolder},
        {"file://localhost URL outside", "file://localhost/etc/passwd",
         SideFileRefusal::kOutsideFolder},
        {"file: URL of another machine", "file://server/etc/passwd",
         SideFileRefusal::kOutsideFolder},
        {"a link leading out", in + "link-out", SideFileRefusal::kOutsideFolder},
        {"a linked folder leading out", in + "away/secret.bin", SideFileRefusal::kOutsideFolder},
        {"beside the file that the model's link leads to", outside_.string() + "/secret.bin",
         SideFileRefusal::kOutsideFolder, "", in + "alias.gltf"},
        {"/proc/self", "/proc/self/environ", SideFileRefusal::kOutsideFolder},
        {"/dev/zero", "/dev/zero", SideFileRefusal::kOutsideFolder},
        {"a named pipe", in + "pipe", SideFileRefusal::kNotRegularFile},
        {"a socket", in + "socket", SideFileRefusal::kNotRegularFile},
        {"a folder", in + "sub", SideFileRefusal::kNotRegularFile},
        {"the folder itself", in, SideFileRefusal::kNotRegularFile},
        {"the folder through '..'", in + "sub/..", SideFileRefusal::kNotRegularFile},
        {"a device of a model in /dev", "/dev/zero", SideFileRefusal::kNotRegularFile, "",
         "/dev/null"},
        {"a file of /proc beside a model in /proc", "/proc/self/environ",
         SideFileRefusal::kSystemFile, "", "/proc/self/status"},
        {"missing", in + "none.bin", SideFileRefusal::kMissing},
        {"missing below a file", in + "buffer.bin/none", SideFileRefusal::kMissing},
        {"empty", "", SideFileRefusal::kMissing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ModelFolder where =
            ResolveModelFolder(c.modelPath.empty() ? in + "model.gltf" : c.modelPath);
        const SideFile file = OpenSideFile(where, c.path);
        EXPECT_EQ(file.refusal, c.refusal) << file.why;
        EXPECT_EQ(file.fd >= 0, c.refusal == SideFileRefusal::kNone);
        EXPECT_EQ(file.why.empty(), c.refusal == SideFileRefusal::kNone) << file.why;
        if (file.fd >= 0) {
            EXPECT_EQ(ReadAll(file.fd), c.content);
            ::close(file.fd);
        }
    }
}

// Paths put together from every piece that can lead somewhere: whatever opens is a regular file
// that the kernel places in the model's folder, or the model.
TEST_F(SideFilePolicyTest, NoPathOfPiecesOpensAnythingElse) {
    const std::vector<std::string> starts = {
        "", model_.string() + "/", folder_.string() + "/", "/", "file://", "file:"};
    const std::vector<std::string> pieces = {"..",      ".",     "sub",        "link-out",
                                             "link-in", "away",  "buffer.bin", "secret.bin",
                                             "outside", "model", "",           "pipe"};
    const ModelFolder where = ResolveModelFolder((model_ / "model.gltf").string());
    int opened = 0, refused = 0;
    std::vector<std::string> paths = starts;
    for (int depth = 0; depth < 3; ++depth) {
        std::vector<std::string> longer;
        for (const std::string& path : paths) {
            for (const std::string& piece : pieces) {
                longer.push_back(path + (path.empty() || path.ends_with('/') ? "" : "/") + piece);
            }
        }
        for (const std::string& path : longer) {
            const SideFile file = OpenSideFile(where, path);
            if (file.fd < 0) {
                ++refused;
                continue;
            }
            ++opened;
            struct stat info {};
            ASSERT_EQ(::fstat(file.fd, &info), 0);
            EXPECT_TRUE(S_ISREG(info.st_mode)) << path;
            const std::string at = OpenedPath(file.fd);
            EXPECT_TRUE(at.starts_with(model_.string() + "/") || at == where.model)
                << path << " opened " << at;
            ::close(file.fd);
        }
        paths = std::move(longer);
    }
    EXPECT_GT(opened, 20);
    EXPECT_GT(refused, 100);
}

}  // namespace
}  // namespace korvane::testing
