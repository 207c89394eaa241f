#pragma once

#include <string_view>

namespace korvane {

enum class ModelFormat { kMetasequoia, kLightWave, kRuvoPatch, kUnknown };

// Tells the model kind from the first bytes of a file (64 are plenty): a Metasequoia file starts,
// after any white space, with the word "Metasequoia", or is a zip archive (a compressed .mqoz,
// whose reader finds the .mqo member inside or says why there is none); a LightWave file is an IFF
// "FORM" of type "LWOB", "LWO2" or "LWO3" (bytes 8 to 11); a ruvoPatch file starts with the string
// "object_info" behind its one-byte length, 11.
ModelFormat DetectModelFormat(std::string_view firstBytes);

}  // namespace korvane
