#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace korvane {

// Reads the values of a ruvoPatch archive from a byte range, never past its end: 32-bit
// little-endian integers, IEEE single floats, and strings as a length prefix (one byte below 0xFF;
// 0xFF and 16 bits below 0xFFFF; 0xFF, 0xFFFF and 32 bits beyond) followed by the bytes.
class LittleEndianReader {
  public:
    explicit LittleEndianReader(std::string_view bytes) : bytes_(bytes) {}

    std::size_t position() const { return position_; }
    std::size_t remaining() const { return bytes_.size() - position_; }

    // Each returns false, and reads nothing, when too few bytes are left.
    bool ReadU32(std::uint32_t& value);
    bool ReadI32(std::int32_t& value);
    bool ReadF32(float& value);
    // The string's bytes, viewed in place.
    bool ReadString(std::string_view& text);

  private:
    bool ReadU8(std::uint8_t& value);
    bool ReadU16(std::uint16_t& value);

    std::string_view bytes_;
    std::size_t position_ = 0;
};

}  // namespace korvane
