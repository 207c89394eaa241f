#include "tools/assimp_import/side_file_policy.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

namespace korvane {
namespace {

std::string Resolved(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

// The folder itself counts, to be refused as a folder rather than as a place outside.
bool Inside(const std::string& folder, const std::string& path) {
    if (folder.empty() || !path.starts_with(folder)) {
        return false;
    }
    return path.size() == folder.size() || folder == "/" || path[folder.size()] == '/';
}

SideFile Refused(SideFileRefusal refusal, std::string why) {
    return {-1, refusal, std::move(why)};
}

SideFile FromError(int error) {
    if (error == ENOENT || error == ENOTDIR) {
        return Refused(SideFileRefusal::kMissing, "does not exist");
    }
    return Refused(SideFileRefusal::kUnreadable,
                   std::string("cannot be read: ") + std::strerror(error));
}

SideFile NotRegular(mode_t mode) {
    const char* kind = S_ISDIR(mode)                    ? "a folder"
                       : S_ISFIFO(mode)                 ? "a named pipe"
                       : S_ISSOCK(mode)                 ? "a socket"
                       : S_ISCHR(mode) || S_ISBLK(mode) ? "a device"
                                                        : "a special file";
    return Refused(SideFileRefusal::kNotRegularFile,
                   std::string("is ") + kind + ", not a regular file");
}

// The local path of a file: URL ("file:///a/b", "file://localhost/a/b", "file:a/b"), or the path
// itself when it is none; nothing for a URL of another machine.
std::optional<std::string> LocalPath(const std::string& path) {
    std::string_view rest = path;
    if (!rest.starts_with("file:")) {
        return path;
    }
    rest.remove_prefix(5);
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        if (rest.starts_with("localhost/")) {
            rest.remove_prefix(9);
        }
        if (!rest.starts_with('/')) {
            return std::nullopt;
        }
    }
    return std::string(rest);
}

// procfs and sysfs report their files as regular files of size 0 that change as they are read.
bool SystemFileSystem(int fd) {
    struct statfs system {};
    return ::fstatfs(fd, &system) == 0 &&
           (system.f_type == PROC_SUPER_MAGIC || system.f_type == SYSFS_MAGIC);
}

// The path the descriptor was actually opened at, as the kernel knows it; empty without /proc.
std::string OpenedPath(int fd) {
    char link[PATH_MAX + 1];
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = ::readlink(self.c_str(), link, PATH_MAX);
    return length > 0 ? std::string(link, static_cast<std::size_t>(length)) : std::string();
}

}  // namespace

ModelFolder ResolveModelFolder(const std::string& modelPath) {
    const std::size_t slash = modelPath.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".")
                               : slash == 0               ? std::string("/")
                                                          : modelPath.substr(0, slash);
    return {Resolved(modelPath), Resolved(folder)};
}

SideFile OpenSideFile(const ModelFolder& where, const std::string& path) {
    const std::optional<std::string> local = LocalPath(path);
    if (!local) {
        return Refused(SideFileRefusal::kOutsideFolder, "names another machine");
    }
    const std::string real = Resolved(*local);
    if (real.empty()) {
        return FromError(errno);
    }
    if (real != where.model && !Inside(where.folder, real)) {
        return Refused(SideFileRefusal::kOutsideFolder, "lies outside the model's folder");
    }
    // Looked at before it is opened: opening a device or a pipe can already do something.
    struct stat named {};
    if (::lstat(real.c_str(), &named) != 0) {
        return FromError(errno);
    }
    if (!S_ISREG(named.st_mode)) {
        return NotRegular(named.st_mode);
    }
    const int fd = ::open(real.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return FromError(errno);
    }
    struct stat opened {};
    SideFile result{fd, SideFileRefusal::kNone, {}};
    const std::string at = OpenedPath(fd);
    if (::fstat(fd, &opened) != 0) {
        result = FromError(errno);
    } else if (!S_ISREG(opened.st_mode)) {
        result = NotRegular(opened.st_mode);
    } else if (opened.st_dev != named.st_dev || opened.st_ino != named.st_ino ||
               (!at.empty() && at != real)) {
        result = Refused(SideFileRefusal::kOutsideFolder, "was moved while it was opened");
    } else if (SystemFileSystem(fd)) {
        result = Refused(SideFileRefusal::kSystemFile, "is a system file of /proc or /sys");
    }
    if (result.refusal != SideFileRefusal::kNone) {
        ::close(fd);
    }
    return result;
}

}  // namespace korvane
