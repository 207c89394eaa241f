#pragma once

#include <zip.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Zip archives for the tests of compressed Metasequoia files (.mqoz), built in memory.
namespace korvane::testing {

struct ZipMember {
    std::string name;
    std::string bytes;
    std::int32_t method = ZIP_CM_DEFLATE;
};

// The archive libzip writes for the members, deflated at level 6, deflate's normal level: the
// layout Metasequoia 4 writes (general-purpose flags 0, no extra fields).
inline std::string ZipOf(const std::vector<ZipMember>& members) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(buffer);  // read back once the archive is closed
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    zip_error_fini(&error);
    for (const ZipMember& member : members) {
        zip_source_t* data =
            zip_source_buffer(archive, member.bytes.data(), member.bytes.size(), 0);
        const zip_int64_t index = zip_file_add(archive, member.name.c_str(), data, 0);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), member.method, 6);
    }
    zip_close(archive);
    zip_stat_t stat;
    zip_source_open(buffer);
    zip_source_stat(buffer, &stat);
    std::string bytes(stat.size, '\0');
    zip_source_read(buffer, bytes.data(), stat.size);
    zip_source_close(buffer);
    zip_source_free(buffer);
    return bytes;
}

// An archive of one stored member, model.mqo unless named otherwise, followed by many empty ones
// (000000, 000001, ...), written byte by byte as zip tools store empty files. Beyond 65,535 members
// the 16-bit counts of the end record read 0xFFFF and a Zip64 end record, found through the locator
// before the end record, holds the real ones, as zip tools write it.
struct ManyMembers {
    std::uint32_t emptyMembers = 0;
    std::string model{};
    std::string modelName = "model.mqo";
    // The count the end records give, when not the real one.
    std::optional<std::uint64_t> declared{};
    // Whether there are Zip64 end records, when not as the count asks.
    std::optional<bool> zip64{};
    // Copies after the first end record make up its comment, each one whole.
    std::uint32_t endRecords = 1;
};

inline void PutNumber(std::string& bytes, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) {
        bytes += static_cast<char>(value >> (8 * i));
    }
}

// The CRC-32 that a zip archive keeps of each member, bit by bit.
inline std::uint32_t Crc32(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
        }
    }
    return ~crc;
}

inline std::string ArchiveOf(const ManyMembers& layout) {
    std::string local;
    std::string directory;
    const auto addMember = [&](const std::string& name, std::string_view data) {
        const std::size_t offset = local.size();
        const std::uint32_t crc = Crc32(data);
        for (std::string* header : {&local, &directory}) {
            const bool central = header == &directory;
            PutNumber(*header, central ? 0x02014b50 : 0x04034b50, 4);
            if (central) {
                PutNumber(*header, 20, 2);  // made by: MS-DOS, version 2.0
            }
            PutNumber(*header, 20, 2);    // needed to extract: version 2.0
            PutNumber(*header, 0, 2);     // flags
            PutNumber(*header, 0, 2);     // stored
            PutNumber(*header, 0, 2);     // time
            PutNumber(*header, 0x21, 2);  // date: 1980-01-01
            PutNumber(*header, crc, 4);
            PutNumber(*header, data.size(), 4);
            PutNumber(*header, data.size(), 4);
            PutNumber(*header, name.size(), 2);
            PutNumber(*header, 0, 2);  // extra field
            if (central) {
                PutNumber(*header, 0, 2);  // comment
                PutNumber(*header, 0, 2);  // disk
                PutNumber(*header, 0, 2);  // internal attributes
                PutNumber(*header, 0, 4);  // external attributes
                PutNumber(*header, offset, 4);
            }
            *header += name;
        }
        local += data;
    };
    addMember(layout.modelName, layout.model);
    char name[16];
    for (std::uint32_t i = 0; i < layout.emptyMembers; ++i) {
        std::snprintf(name, sizeof name, "%06x", i);
        addMember(name, {});
    }
    const std::uint64_t members = layout.emptyMembers + std::uint64_t{1};
    const std::uint64_t declared = layout.declared.value_or(members);
    const bool zip64 = layout.zip64.value_or(declared > 0xFFFF);
    std::string archive = local + directory;
    if (zip64) {
        const std::size_t record = archive.size();
        PutNumber(archive, 0x06064b50, 4);
        PutNumber(archive, 44, 8);  // the bytes that follow this size
        PutNumber(archive, 45, 2);  // made by: version 4.5
        PutNumber(archive, 45, 2);  // needed: version 4.5
        PutNumber(archive, 0, 4);   // this disk
        PutNumber(archive, 0, 4);   // the directory's disk
        PutNumber(archive, declared, 8);
        PutNumber(archive, declared, 8);
        PutNumber(archive, directory.size(), 8);
        PutNumber(archive, local.size(), 8);
        PutNumber(archive, 0x07064b50, 4);  // the locator
        PutNumber(archive, 0, 4);
        PutNumber(archive, record, 8);
        PutNumber(archive, 1, 4);  // disks
    }
    const auto endRecord = [&](std::size_t commentBytes) {
        std::string end;
        PutNumber(end, 0x06054b50, 4);
        PutNumber(end, 0, 2);
        PutNumber(end, 0, 2);
        PutNumber(end, zip64 ? 0xFFFF : declared & 0xFFFF, 2);
        PutNumber(end, zip64 ? 0xFFFF : declared & 0xFFFF, 2);
        PutNumber(end, directory.size(), 4);
        PutNumber(end, local.size(), 4);
        PutNumber(end, commentBytes, 2);
        return end;
    };
    std::string copies;
    for (std::uint32_t i = 1; i < layout.endRecords; ++i) {
        copies += endRecord(0);
    }
    return archive + endRecord(copies.size()) + copies;
}

}  // namespace korvane::testing
