#include "tools/assimp_import/model_folder_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include <assimp/IOStream.hpp>

namespace korvane {
namespace {

// A file opened by OpenSideFile, read with pread so that the position is ours alone.
class DescriptorStream : public Assimp::IOStream {
  public:
    DescriptorStream(int fd, std::size_t size) : fd_(fd), size_(size) {}
    ~DescriptorStream() override { ::close(fd_); }

    // Whole items only, as fread counts them.
    std::size_t Read(void* buffer, std::size_t size, std::size_t count) override {
        if (size == 0 || count == 0 || position_ >= size_) {
            return 0;
        }
        const std::size_t wanted = std::min(count, (size_ - position_) / size) * size;
        std::size_t got = 0;
        while (got < wanted) {
            const ssize_t read = ::pread(fd_, static_cast<char*>(buffer) + got, wanted - got,
                                         static_cast<off_t>(position_ + got));
            if (read < 0 && errno == EINTR) {
                continue;
            }
            if (read <= 0) {
                break;
            }
            got += static_cast<std::size_t>(read);
        }
        position_ += got;
        return got / size;
    }
    std::size_t Write(const void*, std::size_t, std::size_t) override { return 0; }
    // An offset from the current position or the end may be negative, in two's complement: the
    // sum wraps back, and past either end it fails.
    aiReturn Seek(std::size_t offset, aiOrigin origin) override {
        std::size_t base = 0;
        if (origin == aiOrigin_CUR) {
            base = position_;
        } else if (origin == aiOrigin_END) {
            base = size_;
        } else if (origin != aiOrigin_SET) {
            return aiReturn_FAILURE;
        }
        const std::size_t target = base + offset;
        if (target > size_) {
            return aiReturn_FAILURE;
        }
        position_ = target;
        return aiReturn_SUCCESS;
    }
    std::size_t Tell() const override { return position_; }
    std::size_t FileSize() const override { return size_; }
    void Flush() override {}

  private:
    const int fd_;
    const std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace

ModelFolderIOSystem::ModelFolderIOSystem(const std::string& modelPath)
    : where_(ResolveModelFolder(modelPath)),
      modelFolderAsNamed_(modelPath.substr(0, modelPath.rfind('/') + 1)) {}

bool ModelFolderIOSystem::Exists(const char* path) const {
    // assimp asks after many guesses of a name that it could not open; only what it opens is told.
    const SideFile file = OpenSideFile(where_, path != nullptr ? path : "");
    if (file.fd >= 0) {
        ::close(file.fd);
    }
    return file.fd >= 0;
}

void ModelFolderIOSystem::Remember(std::string_view path, const SideFile& file) {
    if (file.refusal == SideFileRefusal::kNone || file.refusal == SideFileRefusal::kMissing ||
        refusals_.size() == kMaxRefusals) {
        return;
    }
    if (!modelFolderAsNamed_.empty() && path.starts_with(modelFolderAsNamed_)) {
        path.remove_prefix(modelFolderAsNamed_.size());
    }
    std::string line = "side file \"" + std::string(path) + "\" was not read: it " + file.why;
    if (std::find(refusals_.begin(), refusals_.end(), line) == refusals_.end()) {
        refusals_.push_back(std::move(line));
    }
}

Assimp::IOStream* ModelFolderIOSystem::Open(const char* path, const char* mode) {
    // An import only reads.
    if (mode == nullptr || std::strpbrk(mode, "wa+") != nullptr) {
        return nullptr;
    }
    const SideFile file = OpenSideFile(where_, path != nullptr ? path : "");
    if (file.fd < 0) {
        Remember(path != nullptr ? path : "", file);
        return nullptr;
    }
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) {
        ::close(file.fd);
        return nullptr;
    }
    return new DescriptorStream(file.fd, static_cast<std::size_t>(info.st_size));
}

void ModelFolderIOSystem::Close(Assimp::IOStream* stream) {
    delete stream;
}

}  // namespace korvane
