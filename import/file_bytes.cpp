#include "import/file_bytes.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace korvane {

namespace {

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
    // Read to the end rather than trusting the size: a file may grow or report no size at all.
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.append(buffer, count);
    }
    return std::ferror(file.get()) == 0;
}

}  // namespace korvane
