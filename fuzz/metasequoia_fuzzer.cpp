#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_checks.h"
#include "import/metasequoia_reader.h"

// The Metasequoia reader on arbitrary bytes, lathe and mirror included.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvane::ObjectStore store;
    const auto result = korvane::ImportMetasequoiaBytes(korvane::fuzz::AsBytes(data, size), store);
    korvane::fuzz::RequireHonestImport(result, store);
    return 0;
}
