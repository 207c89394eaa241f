#include "import/lightwave_chunks.h"

#include <bit>

namespace korvane {

bool IsLightWaveFormType(std::string_view formType) {
    return formType == "LWOB" || formType == "LWO2" || formType == "LWO3";
}

bool BigEndianReader::ReadU16(std::uint16_t& value) {
    if (remaining() < 2) {
        return false;
    }
    const auto high = static_cast<unsigned char>(bytes_[position_]);
    const auto low = static_cast<unsigned char>(bytes_[position_ + 1]);
    value = static_cast<std::uint16_t>((high << 8) | low);
    position_ += 2;
    return true;
}

bool BigEndianReader::ReadU32(std::uint32_t& value) {
    if (remaining() < 4) {
        return false;
    }
    value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes_[position_ + i]);
    }
    position_ += 4;
    return true;
}

bool BigEndianReader::ReadF32(float& value) {
    std::uint32_t bits = 0;
    if (!ReadU32(bits)) {
        return false;
    }
    value = std::bit_cast<float>(bits);
    return true;
}

std::string_view BigEndianReader::TakeBytes(std::size_t n) {
    const std::string_view taken = bytes_.substr(position_, n);
    position_ += taken.size();
    return taken;
}

bool ReadChunk(BigEndianReader& reader, IffChunk& chunk, bool& truncated) {
    constexpr std::size_t kHeaderBytes = 8;
    if (reader.remaining() == 0) {
        return false;
    }
    if (reader.remaining() < kHeaderBytes) {
        truncated = true;
        return false;
    }
    chunk.id = reader.TakeBytes(4);
    std::uint32_t size = 0;
    reader.ReadU32(size);
    if (size > reader.remaining()) {
        truncated = true;
        return false;
    }
    chunk.data = reader.TakeBytes(size);
    if (size % 2 != 0) {
        reader.TakeBytes(1);
    }
    return true;
}

}  // namespace korvane
