#pragma once

#include <cstdint>
#include <string_view>

namespace korvane {

// True for the form types of the LightWave object layouts: "LWOB", "LWO2", and "LWO3", which
// LightWave has saved since 2015 and whose geometry chunks are those of "LWO2".
bool IsLightWaveFormType(std::string_view formType);

// Reads big-endian values from a byte range, never past its end.
class BigEndianReader {
  public:
    explicit BigEndianReader(std::string_view bytes) : bytes_(bytes) {}

    std::size_t remaining() const { return bytes_.size() - position_; }
    int PeekByte() const {
        return remaining() == 0 ? -1 : static_cast<unsigned char>(bytes_[position_]);
    }
    // Each returns false, and reads nothing, when too few bytes are left.
    bool ReadU16(std::uint16_t& value);
    bool ReadU32(std::uint32_t& value);
    bool ReadF32(float& value);
    // Up to n bytes, fewer at the end.
    std::string_view TakeBytes(std::size_t n);

  private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

struct IffChunk {
    std::string_view id;    // four bytes
    std::string_view data;  // the chunk's data, without the pad byte
};

// Reads the next chunk: a four-byte identifier, a 32-bit size, the data, and one pad byte after
// data of odd size. False at the end of the bytes; false with `truncated` set when a chunk header
// is cut or the size runs past the end (that chunk is not read).
bool ReadChunk(BigEndianReader& reader, IffChunk& chunk, bool& truncated);

}  // namespace korvane
