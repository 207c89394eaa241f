#include "import/file_bytes.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "geometry/huge_pages.h"

namespace korvane {

namespace {

// Far beyond any real model; it bounds what a device or a pipe without end can make us read, low
// enough that the growing buffer, with its old copy while it moves, stays well within 1 GB.
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 28;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return false;
    }
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size <= kMaxFileBytes) {
        bytes.reserve(static_cast<std::size_t>(size));
        AdviseHugePages(bytes.data(), bytes.capacity());
    }
    // Read to the end rather than trusting the size: a file may change or report no size at all.
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        if (bytes.size() + count > kMaxFileBytes) {
            bytes.clear();
            return false;
        }
        bytes.append(buffer, count);
    }
    return std::ferror(file.get()) == 0;
}

}  // namespace korvane
