#include "import/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "geometry/huge_pages.h"

namespace korvane {

namespace {

// Far beyond any real model; it bounds what a file growing while it is read can make us read, low
// enough that the growing buffer, with its old copy while it moves, stays well within 1 GB.
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 28;

FileKind KindOf(mode_t mode) {
    if (S_ISREG(mode)) {
        return FileKind::kRegular;
    }
    if (S_ISDIR(mode)) {
        return FileKind::kFolder;
    }
    if (S_ISFIFO(mode)) {
        return FileKind::kPipe;
    }
    return S_ISSOCK(mode) ? FileKind::kSocket : FileKind::kDevice;
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

  private:
    int fd_;
};

FileRead Failed(FileReadStatus status, int error) {
    return {.status = status, .systemError = error};
}

FileRead NotRegular(mode_t mode) {
    return {.status = FileReadStatus::kNotRegularFile, .kind = KindOf(mode)};
}

// Opens a regular file for reading, or says why not. The path is looked at before it is opened,
// so that no device is opened at all; what was opened is looked at again, since the name may name
// a pipe by then, which O_NONBLOCK keeps from blocking the open.
FileRead OpenRegularFile(const std::string& path, int& fd, struct stat& info) {
    fd = -1;
    if (::stat(path.c_str(), &info) != 0) {
        return Failed(FileReadStatus::kCannotOpen, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return NotRegular(info.st_mode);
    }
    const int opened = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (opened < 0) {
        return Failed(FileReadStatus::kCannotOpen, errno);
    }
    if (::fstat(opened, &info) != 0) {
        const int error = errno;
        ::close(opened);
        return Failed(FileReadStatus::kCannotOpen, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(opened);
        return NotRegular(info.st_mode);
    }
    fd = opened;
    return {};
}

// Appends up to `limit` bytes in all to `bytes`; more waiting beyond the limit is kTooLarge when
// `mustEnd`, and left unread otherwise.
FileRead AppendBytes(int fd, std::size_t limit, bool mustEnd, std::string& bytes) {
    char buffer[65536];
    while (true) {
        const std::size_t room = limit - bytes.size();
        // One byte beyond the limit tells a file that ends there from one that goes on.
        const std::size_t wanted = mustEnd ? sizeof buffer : std::min(room, sizeof buffer);
        if (wanted == 0) {
            return {};
        }
        const ssize_t count = ::read(fd, buffer, wanted);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Failed(FileReadStatus::kReadFailed, errno);
        }
        if (count == 0) {
            return {};
        }
        if (static_cast<std::size_t>(count) > room) {
            bytes.clear();
            return Failed(FileReadStatus::kTooLarge, 0);
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

}  // namespace

FileRead ReadFileBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    int fd = -1;
    struct stat info {};
    if (const FileRead opened = OpenRegularFile(path, fd, info);
        opened.status != FileReadStatus::kRead) {
        return opened;
    }
    const Descriptor file(fd);
    const auto size = static_cast<std::uintmax_t>(info.st_size);
    if (size > kMaxFileBytes) {
        return Failed(FileReadStatus::kTooLarge, 0);
    }
    bytes.reserve(static_cast<std::size_t>(size));
    AdviseHugePages(bytes.data(), bytes.capacity());
    // Read to the end rather than trusting the size: the file may change while it is read.
    const FileRead read = AppendBytes(file.get(), kMaxFileBytes, true, bytes);
    if (read.status != FileReadStatus::kRead) {
        bytes.clear();
    }
    return read;
}

FileRead ReadFileStart(const std::string& path, std::size_t count, std::string& bytes) {
    bytes.clear();
    int fd = -1;
    struct stat info {};
    if (const FileRead opened = OpenRegularFile(path, fd, info);
        opened.status != FileReadStatus::kRead) {
        return opened;
    }
    const Descriptor file(fd);
    return AppendBytes(file.get(), count, false, bytes);
}

FileRead CheckReadableFile(const std::string& path) {
    int fd = -1;
    struct stat info {};
    const FileRead opened = OpenRegularFile(path, fd, info);
    const Descriptor file(fd);
    return opened;
}

}  // namespace korvane
