#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "import/import_status.h"

namespace korvane {

// How far the model inside a compressed Metasequoia file (.mqoz) may unpack. Real models pack 4
// to 8 times; deflate reaches about 1000 times only on runs of one byte, as a zip bomb has. The
// ratio applies from ratioFreeBytes on, so that a small, very regular model is never refused.
struct ArchiveLimits {
    std::size_t maxBytes;        // unpacked bytes at most, whatever the ratio
    std::size_t maxRatio;        // unpacked bytes per packed byte
    std::size_t ratioFreeBytes;  // unpacked bytes allowed whatever the ratio
};

// maxBytes is the largest text model file the readers take.
inline constexpr ArchiveLimits kMqozLimits{std::size_t{1} << 28, 100, std::size_t{1} << 20};

// A model archive holds a model and perhaps its textures; more members than this are refused
// before any is read, as no archive of a model.
inline constexpr std::uint64_t kMaxArchiveMembers = 65536;

// The members of an archive named like a Metasequoia file: how many, and the name of the first,
// the one that is read, as the archive stores it: its raw bytes.
struct ModelMembers {
    std::int32_t count = 0;
    std::string first;
};

// True when the bytes start as a zip archive does: a local file header, or the end record of an
// archive with no members.
bool IsZipArchive(std::string_view firstBytes);

// Unpacks the first member of a zip archive whose name ends in ".mqo" (in any case) into `text`,
// counting the bytes as they come out rather than trusting the sizes the archive declares.
// kImported: `text` holds the member. kArchiveWithoutModel: no such member. kArchiveDamaged: the
// archive is cut short or corrupt, or the member is encrypted or packed by a method we lack.
// kArchiveTooLarge: the member would unpack beyond `limits`. kArchiveTooManyMembers: more than
// kMaxArchiveMembers members. `text` is empty unless kImported. `members`, when given, tells the
// model members found once the archive could be opened.
ImportStatus UnpackMqoz(std::string_view archive, std::string& text,
                        const ArchiveLimits& limits = kMqozLimits, ModelMembers* members = nullptr);

}  // namespace korvane
