#include "export/atomic_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <system_error>

namespace korvane {
namespace {

WriteResult Failure(WriteStatus status, int error) {
    return {status, std::error_code(error, std::generic_category()).message()};
}

// Six characters that make a temporary name unlikely to be taken; a taken one is simply retried.
std::string UniqueSuffix() {
    static std::atomic<std::uint64_t> counter{0};
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<std::uint64_t>(getpid()) << 32) ^
        (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix(6, 'a');
    for (char& c : suffix) {
        c = kAlphabet[seed % 36];
        seed /= 36;
    }
    return suffix;
}

// The folder part of path, with its final slash; empty for a bare file name.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Creates a new temporary file beside path, with mode 0644 less the umask. Returns its
// descriptor, or -1 with errno set.
int CreateTemporary(const std::string& path, std::string& temporaryPath) {
    constexpr int kAttempts = 100;
    // A target name near the length limit leaves no room for the suffix: use a short name then.
    bool shortName = false;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::string stem = shortName ? FolderOf(path) + ".tmp" : path;
        temporaryPath = stem + ".tmp-" + UniqueSuffix();
        const int fd = open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            return fd;
        }
        if (errno == ENAMETOOLONG && !shortName) {
            shortName = true;
        } else if (errno != EEXIST) {
            return -1;
        }
    }
    return -1;
}

// Writes, keeps the permissions of an existing target, flushes to the disk and closes. Returns 0
// or the errno of the step that failed; fd is closed either way.
int FillAndClose(int fd, std::span<const std::uint8_t> bytes, const std::string& path) {
    int error = WriteAllBytes(fd, bytes);
    struct stat existing {};
    if (error == 0 && stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode) &&
        fchmod(fd, existing.st_mode & 07777) != 0) {
        error = errno;
    }
    if (error == 0 && fsync(fd) != 0) {
        error = errno;
    }
    if (close(fd) != 0 && error == 0) {
        error = errno;
    }
    return error;
}

}  // namespace

int WriteAllBytes(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        // A regular file or device that accepts nothing and reports no error is full.
        if (written == 0) {
            return ENOSPC;
        }
        done += static_cast<std::size_t>(written);
    }
    return 0;
}

bool IsStreamPath(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode));
}

WriteResult WriteInPlace(const std::string& path, std::span<const std::uint8_t> bytes) {
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return Failure(WriteStatus::kCannotCreate, errno);
    }
    int error = WriteAllBytes(fd, bytes);
    if (close(fd) != 0 && error == 0) {
        error = errno;
    }
    return error == 0 ? WriteResult{} : Failure(WriteStatus::kWriteFailed, error);
}

WriteResult WriteTemporaryBeside(const std::string& path, std::span<const std::uint8_t> bytes,
                                 std::string& temporaryPath) {
    const int fd = CreateTemporary(path, temporaryPath);
    if (fd < 0) {
        return Failure(WriteStatus::kCannotCreate, errno);
    }
    if (const int error = FillAndClose(fd, bytes, path); error != 0) {
        unlink(temporaryPath.c_str());
        return Failure(WriteStatus::kWriteFailed, error);
    }
    return {};
}

WriteResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (path.empty()) {
        return Failure(WriteStatus::kCannotCreate, ENOENT);
    }
    if (IsStreamPath(path)) {
        return WriteInPlace(path, bytes);
    }
    std::string temporaryPath;
    if (WriteResult staged = WriteTemporaryBeside(path, bytes, temporaryPath);
        staged.status != WriteStatus::kWritten) {
        return staged;
    }
    if (rename(temporaryPath.c_str(), path.c_str()) != 0) {
        const int error = errno;
        unlink(temporaryPath.c_str());
        return Failure(WriteStatus::kCannotCreate, error);
    }
    return {};
}

}  // namespace korvane
