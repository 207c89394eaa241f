#include "import/model_format.h"

#include "import/byte_scanner.h"
#include "import/lightwave_chunks.h"
#include "import/mqoz_archive.h"

namespace korvane {
namespace {

constexpr std::string_view kRuvoPatchSignature =
    "\x0B"
    "object_info";

}  // namespace

ModelFormat DetectModelFormat(std::string_view firstBytes) {
    if (ByteScanner(firstBytes).ReadToken() == "Metasequoia" || IsZipArchive(firstBytes)) {
        return ModelFormat::kMetasequoia;
    }
    if (firstBytes.size() >= 12 && firstBytes.substr(0, 4) == "FORM" &&
        IsLightWaveFormType(firstBytes.substr(8, 4))) {
        return ModelFormat::kLightWave;
    }
    if (firstBytes.starts_with(kRuvoPatchSignature)) {
        return ModelFormat::kRuvoPatch;
    }
    return ModelFormat::kUnknown;
}

}  // namespace korvane
