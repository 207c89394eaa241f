#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace korvane::testing {

// Bytes from a hex listing such as "0B 6F 62 | 01 00"; spaces and bars are ignored.
inline std::vector<std::uint8_t> FromHex(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    std::string digits;
    for (char c : text) {
        if (c != ' ' && c != '|' && c != '\n') {
            digits += c;
        }
    }
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// Reads an archive back field by field; reading past the end is reported and gives zeros.
class ArchiveReader {
  public:
    explicit ArchiveReader(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::uint32_t Count() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        }
        return value;
    }
    std::int32_t Int() { return static_cast<std::int32_t>(Count()); }
    float Float() {
        const std::uint32_t bits = Count();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    std::string String() {
        std::uint32_t length = Byte();
        if (length == 0xFF) {
            length = Byte() | (static_cast<std::uint32_t>(Byte()) << 8);
            if (length == 0xFFFF) {
                length = Count();
            }
        }
        std::string text;
        for (std::uint32_t i = 0; i < length && !overrun_; ++i) {
            text += static_cast<char>(Byte());
        }
        return text;
    }

    bool AtEnd() const { return offset_ == bytes_.size(); }
    bool overrun() const { return overrun_; }

  private:
    std::uint8_t Byte() {
        if (offset_ >= bytes_.size()) {
            overrun_ = true;
            return 0;
        }
        return bytes_[offset_++];
    }

    std::vector<std::uint8_t> bytes_;
    std::size_t offset_ = 0;
    bool overrun_ = false;
};

}  // namespace korvane::testing
