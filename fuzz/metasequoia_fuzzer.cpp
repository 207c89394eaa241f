#include <cstddef>
#include <cstdint>
#include <string>

#include "document/object_store.h"
#include "export/rvp_writer.h"
#include "fuzz/fuzz_checks.h"
#include "import/metasequoia_reader.h"
#include "import/mqoz_archive.h"

// The Metasequoia reader on arbitrary bytes, lathe and mirror included. The bytes go through the
// same entry as a file's, so a zip archive (a compressed .mqoz) is unpacked on the way, and must
// import exactly as the member it unpacks to.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = korvane::fuzz::AsBytes(data, size);
    korvane::ObjectStore store;
    const auto result = korvane::ImportMetasequoiaBytes(bytes, store);
    korvane::fuzz::RequireHonestImport(result, store);

    std::string member;
    if (korvane::IsZipArchive(bytes) &&
        korvane::UnpackMqoz(bytes, member) == korvane::ImportStatus::kImported &&
        !korvane::IsZipArchive(member)) {  // an archive inside is text to the outer import
        korvane::ObjectStore unpacked;
        const auto plain = korvane::ImportMetasequoiaBytes(member, unpacked);
        korvane::fuzz::Require(
            plain.status == result.status && plain.objectsAdded == result.objectsAdded &&
                korvane::SerializeRvp(unpacked.objects) == korvane::SerializeRvp(store.objects),
            "an archive imports as the member it holds");
    }
    return 0;
}
