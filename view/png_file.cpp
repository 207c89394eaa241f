#include "view/png_file.h"

#include <png.h>

#include <cstring>

#include "export/atomic_file_writer.h"

namespace korvane {

bool EncodePng(const RgbaImage& image, std::vector<std::uint8_t>& bytes, std::string& error) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
        error = "no image to write";
        return false;
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGBA;
    // The first call only measures; the second fills the buffer of that size.
    png_alloc_size_t size = 0;
    if (png_image_write_to_memory(&png, nullptr, &size, 0, image.pixels.data(), 0, nullptr)) {
        bytes.resize(size);
        if (png_image_write_to_memory(&png, bytes.data(), &size, 0, image.pixels.data(), 0,
                                      nullptr)) {
            bytes.resize(size);
            return true;
        }
    }
    error = png.message;
    bytes.clear();
    return false;
}

bool WritePng(const RgbaImage& image, const std::string& path, std::string& error) {
    std::vector<std::uint8_t> bytes;
    std::string reason;
    if (!EncodePng(image, bytes, reason)) {
        error = "cannot write " + path + ": " + reason;
        return false;
    }
    const WriteResult written = WriteFileAtomically(path, bytes);
    if (written.status != WriteStatus::kWritten) {
        error = "cannot write " + path + ": " + written.error;
        return false;
    }
    return true;
}

bool ReadPng(const std::string& path, RgbaImage& image, std::string& error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        error = "cannot read " + path + ": " + png.message;
        return false;
    }
    png.format = PNG_FORMAT_RGBA;
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.pixels.assign(PNG_IMAGE_SIZE(png), 0);
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
        error = "cannot decode " + path + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}

}  // namespace korvane
