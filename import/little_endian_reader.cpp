#include "import/little_endian_reader.h"

#include <bit>

namespace korvane {

bool LittleEndianReader::ReadU8(std::uint8_t& value) {
    if (remaining() < 1) {
        return false;
    }
    value = static_cast<std::uint8_t>(bytes_[position_]);
    position_ += 1;
    return true;
}

bool LittleEndianReader::ReadU16(std::uint16_t& value) {
    if (remaining() < 2) {
        return false;
    }
    const auto low = static_cast<unsigned char>(bytes_[position_]);
    const auto high = static_cast<unsigned char>(bytes_[position_ + 1]);
    value = static_cast<std::uint16_t>((high << 8) | low);
    position_ += 2;
    return true;
}

bool LittleEndianReader::ReadU32(std::uint32_t& value) {
    if (remaining() < 4) {
        return false;
    }
    value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes_[position_ + i]);
    }
    position_ += 4;
    return true;
}

bool LittleEndianReader::ReadI32(std::int32_t& value) {
    std::uint32_t bits = 0;
    if (!ReadU32(bits)) {
        return false;
    }
    value = static_cast<std::int32_t>(bits);
    return true;
}

bool LittleEndianReader::ReadF32(float& value) {
    std::uint32_t bits = 0;
    if (!ReadU32(bits)) {
        return false;
    }
    value = std::bit_cast<float>(bits);
    return true;
}

bool LittleEndianReader::ReadString(std::string_view& text) {
    const std::size_t start = position_;
    std::uint8_t shortLength = 0;
    std::uint16_t mediumLength = 0;
    std::uint32_t length = 0;
    bool complete = ReadU8(shortLength);
    length = shortLength;
    if (complete && shortLength == 0xFF) {
        complete = ReadU16(mediumLength);
        length = mediumLength;
        if (complete && mediumLength == 0xFFFF) {
            complete = ReadU32(length);
        }
    }
    if (!complete || remaining() < length) {
        position_ = start;
        return false;
    }
    text = bytes_.substr(position_, length);
    position_ += length;
    return true;
}

}  // namespace korvane
