#include "import/mqoz_archive.h"

#include <zip.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <utility>

#include "import/zip_member_count.h"

namespace korvane {
namespace {

struct ArchiveDiscarder {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct MemberCloser {
    void operator()(zip_file_t* member) const { zip_fclose(member); }
};
using Archive = std::unique_ptr<zip_t, ArchiveDiscarder>;
using Member = std::unique_ptr<zip_file_t, MemberCloser>;

// The archive read in place: libzip keeps a pointer to the bytes, which outlive it.
Archive OpenArchive(std::string_view bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_t* archive = nullptr;
    if (zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error)) {
        // No consistency check: it reads the local header of every member, which takes seconds
        // for an archive of a million members. The one member read is bounded as it unpacks.
        archive = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (archive == nullptr) {
            zip_source_free(source);
        }
    }
    zip_error_fini(&error);
    return Archive(archive);
}

bool NamesMetasequoiaFile(std::string_view name) {
    constexpr std::string_view kSuffix = ".mqo";
    return name.size() >= kSuffix.size() &&
           std::equal(kSuffix.begin(), kSuffix.end(), name.end() - kSuffix.size(),
                      [](char suffix, char c) {
                          return suffix == std::tolower(static_cast<unsigned char>(c));
                      });
}

// Index of the first member named like a Metasequoia file, or -1; `members` tells them all.
zip_int64_t FindModelMember(zip_t* archive, ModelMembers& members) {
    zip_int64_t first = -1;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (name != nullptr && NamesMetasequoiaFile(name)) {
            if (first < 0) {
                first = i;
                members.first = name;
            }
            ++members.count;
        }
    }
    return first;
}

// How many bytes a member of `packed` bytes may unpack to.
std::size_t AllowedBytes(std::size_t packed, const ArchiveLimits& limits) {
    const bool beyondRatio = limits.maxRatio == 0 || packed > limits.maxBytes / limits.maxRatio;
    const std::size_t byRatio = beyondRatio ? limits.maxBytes : packed * limits.maxRatio;
    return std::min(std::max(byRatio, limits.ratioFreeBytes), limits.maxBytes);
}

ImportStatus Unpack(zip_t* archive, zip_uint64_t index, std::size_t archiveBytes,
                    const ArchiveLimits& limits, std::string& text) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0) {
        return ImportStatus::kArchiveDamaged;
    }
    // The member's packed bytes lie inside the archive, whatever its directory claims.
    std::size_t packed = archiveBytes;
    if ((stat.valid & ZIP_STAT_COMP_SIZE) != 0 && stat.comp_size < packed) {
        packed = static_cast<std::size_t>(stat.comp_size);
    }
    const std::size_t allowed = AllowedBytes(packed, limits);
    // A declared size can refuse a member early; only the bytes counted below can admit it.
    if ((stat.valid & ZIP_STAT_SIZE) != 0) {
        if (stat.size > allowed) {
            return ImportStatus::kArchiveTooLarge;
        }
        text.reserve(static_cast<std::size_t>(stat.size));
    }
    const Member member(zip_fopen_index(archive, index, 0));
    if (!member) {
        return ImportStatus::kArchiveDamaged;
    }
    char buffer[65536];
    zip_int64_t count = 0;
    // libzip checks the CRC once the member's end is read, so a corrupt member fails here too.
    while ((count = zip_fread(member.get(), buffer, sizeof buffer)) > 0) {
        if (static_cast<std::size_t>(count) > allowed - text.size()) {
            return ImportStatus::kArchiveTooLarge;
        }
        text.append(buffer, static_cast<std::size_t>(count));
    }
    return count < 0 ? ImportStatus::kArchiveDamaged : ImportStatus::kImported;
}

}  // namespace

bool IsZipArchive(std::string_view firstBytes) {
    return firstBytes.starts_with("PK\x03\x04") || firstBytes.starts_with("PK\x05\x06");
}

ImportStatus UnpackMqoz(std::string_view archive, std::string& text, const ArchiveLimits& limits,
                        ModelMembers* members) {
    text.clear();
    // libzip reads the whole central directory on opening, whatever is asked of it afterwards.
    if (HoldsMoreMembersThan(archive, kMaxArchiveMembers)) {
        return ImportStatus::kArchiveTooManyMembers;
    }
    const Archive opened = OpenArchive(archive);
    if (!opened) {
        return ImportStatus::kArchiveDamaged;
    }
    ModelMembers found;
    const zip_int64_t index = FindModelMember(opened.get(), found);
    if (members != nullptr) {
        *members = std::move(found);
    }
    if (index < 0) {
        return ImportStatus::kArchiveWithoutModel;
    }
    const ImportStatus status =
        Unpack(opened.get(), static_cast<zip_uint64_t>(index), archive.size(), limits, text);
    if (status != ImportStatus::kImported) {
        text.clear();
        text.shrink_to_fit();
    }
    return status;
}

}  // namespace korvane
