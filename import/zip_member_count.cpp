#include "import/zip_member_count.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace korvane {
namespace {

constexpr std::string_view kEndSignature = "PK\x05\x06";
constexpr std::string_view kEntrySignature = "PK\x01\x02";
constexpr std::string_view kLocatorSignature = "PK\x06\x07";
constexpr std::string_view kEnd64Signature = "PK\x06\x06";
constexpr std::size_t kEndBytes = 22;
constexpr std::size_t kLocatorBytes = 20;  // the Zip64 locator, right before the end record
constexpr std::size_t kEnd64Bytes = 56;
constexpr std::size_t kEntryBytes = 46;  // a directory entry before its name, extra and comment
// The end record, its Zip64 locator and the longest comment the record can announce.
constexpr std::size_t kSearchedBytes = kEndBytes + kLocatorBytes + 0xFFFF;

// The little-endian number of `width` bytes at `at`, which the caller has checked lie inside.
std::uint64_t Number(std::string_view bytes, std::size_t at, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = width; i > 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i - 1]);
    }
    return value;
}

bool SignatureAt(std::string_view bytes, std::uint64_t at, std::string_view signature) {
    return at <= bytes.size() && bytes.size() - at >= signature.size() &&
           bytes.substr(static_cast<std::size_t>(at), signature.size()) == signature;
}

// The directory entries that follow one another from `offset`, whatever size the end record gives
// the directory, counted up to one more than `room`.
std::uint64_t EntriesFrom(std::string_view archive, std::uint64_t offset, std::uint64_t room) {
    std::uint64_t count = 0;
    std::uint64_t at = offset;
    while (count <= room && SignatureAt(archive, at, kEntrySignature) &&
           archive.size() - at >= kEntryBytes) {
        const auto entry = static_cast<std::size_t>(at);
        ++count;
        at += kEntryBytes + Number(archive, entry + 28, 2) + Number(archive, entry + 30, 2) +
              Number(archive, entry + 32, 2);
    }
    return count;
}

class MemberCounter {
  public:
    MemberCounter(std::string_view archive, std::uint64_t limit)
        : archive_(archive), limit_(limit) {}

    bool Exceeded() const { return exceeded_; }

    // An end record at `at`, with its Zip64 end record when a locator comes right before it.
    // Either may be the one read; a directory that both name is read once.
    void CountEndRecord(std::size_t at) {
        const std::uint64_t directory = Number(archive_, at + 16, 4);
        Walk(directory);
        const std::optional<std::size_t> record = Zip64EndRecord(at);
        if (!record) {
            return;
        }
        // A reader sizes its table of entries by the declared numbers before reading any.
        if (Number(archive_, *record + 24, 8) > limit_ ||
            Number(archive_, *record + 32, 8) > limit_) {
            exceeded_ = true;
            return;
        }
        if (const std::uint64_t directory64 = Number(archive_, *record + 48, 8);
            directory64 != directory) {
            Walk(directory64);
        }
    }

  private:
    // Where the Zip64 end record that the locator before the end record at `at` names lies.
    std::optional<std::size_t> Zip64EndRecord(std::size_t at) const {
        if (at < kLocatorBytes || !SignatureAt(archive_, at - kLocatorBytes, kLocatorSignature)) {
            return std::nullopt;
        }
        const std::uint64_t record = Number(archive_, at - kLocatorBytes + 8, 8);
        if (!SignatureAt(archive_, record, kEnd64Signature) ||
            archive_.size() - record < kEnd64Bytes) {
            return std::nullopt;
        }
        return static_cast<std::size_t>(record);
    }

    void Walk(std::uint64_t directory) {
        if (exceeded_) {
            return;
        }
        counted_ += EntriesFrom(archive_, directory, limit_ - counted_);
        exceeded_ = counted_ > limit_;
    }

    std::string_view archive_;
    std::uint64_t limit_;
    std::uint64_t counted_ = 0;
    bool exceeded_ = false;
};

}  // namespace

bool HoldsMoreMembersThan(std::string_view archive, std::uint64_t limit) {
    if (archive.size() < kEndBytes) {
        return false;
    }
    MemberCounter counter(archive, limit);
    const std::size_t first = archive.size() - std::min(archive.size(), kSearchedBytes);
    for (std::size_t at = archive.size() - kEndBytes + 1; at-- > first && !counter.Exceeded();) {
        if (archive.substr(at, kEndSignature.size()) == kEndSignature) {
            counter.CountEndRecord(at);
        }
    }
    return counter.Exceeded();
}

}  // namespace korvane
