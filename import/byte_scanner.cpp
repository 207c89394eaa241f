#include "import/byte_scanner.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace korvane {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// For a decimal number that from_chars found outside float's range: whether it is too large
// (rather than too small), from the decimal order of magnitude of its first non-zero digit.
bool ExceedsFloat(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    bool nonZeroSeen = false;
    std::int64_t order = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (nonZeroSeen) {
            ++order;
        } else {
            nonZeroSeen = text[i] != '0';
        }
    }
    if (i < text.size() && text[i] == '.') {
        std::int64_t place = -1;
        for (++i; i < text.size() && IsDigit(text[i]); ++i, --place) {
            if (!nonZeroSeen && text[i] != '0') {
                nonZeroSeen = true;
                order = place;
            }
        }
    }
    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool negative = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
            ++i;
        }
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            if (exponent < 1'000'000'000) {
                exponent = exponent * 10 + (text[i] - '0');
            }
        }
        exponent = negative ? -exponent : exponent;
    }
    return order + exponent >= 0;
}

}  // namespace

bool IsBlank(unsigned char byte) {
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

void ByteScanner::SkipWhiteSpace() {
    while (!AtEnd() && IsBlank(static_cast<unsigned char>(bytes_[position_]))) {
        ++position_;
    }
}

std::string ByteScanner::ReadToken() {
    SkipWhiteSpace();
    const std::size_t start = position_;
    while (!AtEnd() && !IsBlank(static_cast<unsigned char>(bytes_[position_]))) {
        ++position_;
    }
    const std::size_t length = position_ - start;
    return std::string(bytes_.substr(start, length < kMaxTokenLength ? length : kMaxTokenLength));
}

std::string ByteScanner::ReadTokenPart(std::size_t width) {
    SkipWhiteSpace();
    const std::size_t start = position_;
    while (!AtEnd() && position_ - start < width &&
           !IsBlank(static_cast<unsigned char>(bytes_[position_]))) {
        ++position_;
    }
    return std::string(bytes_.substr(start, position_ - start));
}

std::size_t ByteScanner::NumberStart() const {
    const bool plus = !AtEnd() && bytes_[position_] == '+';
    const bool signFollows = position_ + 1 < bytes_.size() &&
                             (bytes_[position_ + 1] == '+' || bytes_[position_ + 1] == '-');
    return plus && !signFollows ? position_ + 1 : position_;
}

bool ByteScanner::ReadInt(std::int32_t& value) {
    SkipWhiteSpace();
    value = 0;
    const char* begin = bytes_.data() + NumberStart();
    const char* end = bytes_.data() + bytes_.size();
    std::int32_t parsed = 0;
    const auto [stop, error] = std::from_chars(begin, end, parsed);
    if (stop == begin) {
        return false;
    }
    if (error == std::errc::result_out_of_range) {
        parsed = *begin == '-' ? std::numeric_limits<std::int32_t>::min()
                               : std::numeric_limits<std::int32_t>::max();
    }
    value = parsed;
    position_ = static_cast<std::size_t>(stop - bytes_.data());
    return true;
}

bool ByteScanner::ReadFloat(float& value) {
    SkipWhiteSpace();
    value = 0.0f;
    const char* begin = bytes_.data() + NumberStart();
    const char* end = bytes_.data() + bytes_.size();
    float parsed = 0.0f;
    const auto [stop, error] = std::from_chars(begin, end, parsed);
    if (stop == begin) {
        return false;
    }
    if (error == std::errc::result_out_of_range) {
        const bool negative = *begin == '-';
        const float magnitude =
            ExceedsFloat(std::string_view(begin, static_cast<std::size_t>(stop - begin)))
                ? std::numeric_limits<float>::infinity()
                : 0.0f;
        parsed = negative ? -magnitude : magnitude;
    }
    value = parsed;
    position_ = static_cast<std::size_t>(stop - bytes_.data());
    return true;
}

void ByteScanner::SkipFloats(int count) {
    float ignored = 0.0f;
    for (int i = 0; i < count; ++i) {
        ReadFloat(ignored);
    }
}

void ByteScanner::SkipInt() {
    std::int32_t ignored = 0;
    ReadInt(ignored);
}

int ByteScanner::ReadByte() {
    if (AtEnd()) {
        return -1;
    }
    return static_cast<unsigned char>(bytes_[position_++]);
}

int ByteScanner::ReadNonBlankByte() {
    SkipWhiteSpace();
    return ReadByte();
}

void ByteScanner::SkipToLineFeed() {
    while (!AtEnd() && bytes_[position_] != '\n') {
        ++position_;
    }
}

std::string_view ByteScanner::TakeBytes(std::size_t n) {
    const std::string_view taken = bytes_.substr(position_, n);
    position_ += taken.size();
    return taken;
}

}  // namespace korvane
