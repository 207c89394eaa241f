#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvane {

// Reads a text model from memory the way the scanf family reads a stream, and never past the end.
// A token is a run of bytes that are not white space (space, \t, \n, \v, \f, \r). Numbers skip
// leading white space and read the longest prefix that forms a decimal number, so "2)" gives 2
// and leaves ")". A number that does not parse gives 0 and consumes only the white space in front
// of it: the offending bytes stay for the next read, which keeps a stray "}" in place for the
// chunk's closing token.
class ByteScanner {
  public:
    static constexpr std::size_t kMaxTokenLength = 127;

    explicit ByteScanner(std::string_view bytes) : bytes_(bytes) {}

    bool AtEnd() const { return position_ >= bytes_.size(); }
    std::size_t remaining() const { return bytes_.size() - position_; }

    void SkipWhiteSpace();
    // The next run of non-blank bytes, cut to its first kMaxTokenLength bytes (the rest of the run
    // is skipped); empty only at the end of the bytes.
    std::string ReadToken();
    // At most `width` non-blank bytes; the rest of the run stays for the next read.
    std::string ReadTokenPart(std::size_t width);
    // Optionally signed decimal integer; values beyond 32 bits saturate. False when none parsed.
    bool ReadInt(std::int32_t& value);
    // Optionally signed decimal number with optional fraction and exponent, or inf/nan, correctly
    // rounded to float; magnitudes beyond float give +-inf or +-0. False when none parsed.
    bool ReadFloat(float& value);
    void SkipFloats(int count);
    void SkipInt();
    // The next byte (0-255), or -1 at the end.
    int ReadByte();
    int PeekByte() const { return AtEnd() ? -1 : static_cast<unsigned char>(bytes_[position_]); }
    // The next byte that is not white space, or -1 at the end.
    int ReadNonBlankByte();
    // Moves up to the next line feed, leaving it unread.
    void SkipToLineFeed();
    // Up to n raw bytes, fewer at the end.
    std::string_view TakeBytes(std::size_t n);

  private:
    // Position after an optional '+' that stands in front of a number (from_chars takes no '+').
    std::size_t NumberStart() const;

    std::string_view bytes_;
    std::size_t position_ = 0;
};

bool IsBlank(unsigned char byte);

}  // namespace korvane
