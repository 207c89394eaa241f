#include <cstddef>
#include <cstdint>

#include "document/object_store.h"
#include "fuzz/fuzz_checks.h"
#include "import/lightwave_reader.h"

// The LightWave reader on arbitrary bytes, all three layouts.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvane::ObjectStore store;
    const auto result =
        korvane::ImportLightWaveBytes(korvane::fuzz::AsBytes(data, size), "fuzz", store);
    korvane::fuzz::RequireHonestImport(result, store);
    return 0;
}
