#pragma once

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// Builds LightWave object files in memory: big-endian values and IFF chunks.

namespace korvane::testing {

inline std::string BigEndian(std::uint32_t value, int bytes) {
    std::string out;
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
    return out;
}

inline std::string Words(std::initializer_list<std::uint16_t> words) {
    std::string out;
    for (std::uint16_t word : words) {
        out += BigEndian(word, 2);
    }
    return out;
}

inline std::string Points(std::initializer_list<float> coordinates) {
    std::string out;
    for (float value : coordinates) {
        out += BigEndian(std::bit_cast<std::uint32_t>(value), 4);
    }
    return out;
}

// Layer number, flags and pivot, then the name with its NUL, padded to even length, then parent.
inline std::string LayerData(std::string_view name) {
    std::string out(16, '\0');
    out += name;
    out.push_back('\0');
    if (out.size() % 2 != 0) {
        out.push_back('\0');
    }
    return out + Words({0xFFFF});
}

inline std::string Chunk(std::string_view id, std::string_view data) {
    std::string out = std::string(id) + BigEndian(static_cast<std::uint32_t>(data.size()), 4);
    out += data;
    if (data.size() % 2 != 0) {
        out.push_back('\0');
    }
    return out;
}

inline std::string LwoFile(std::string_view formType, std::string_view chunks) {
    return "FORM" + BigEndian(static_cast<std::uint32_t>(chunks.size() + 4), 4) +
           std::string(formType) + std::string(chunks);
}

// A subchunk of an LWO2 surface or clip: identifier, 16-bit size, data, pad byte.
inline std::string SubChunk(std::string_view id, std::string_view data) {
    std::string out = std::string(id) + BigEndian(static_cast<std::uint32_t>(data.size()), 2);
    out += data;
    if (data.size() % 2 != 0) {
        out.push_back('\0');
    }
    return out;
}

// A form nested in an LWO3 file, as surfaces, clips and envelopes come: its subchunks have 32-bit
// sizes, and the first, named by four blanks, holds what the LWO2 chunk held before them.
inline std::string NestedForm(std::string_view type, std::string_view chunks) {
    return Chunk("FORM", std::string(type) + std::string(chunks));
}

// One model in the chunk order LightWave writes, as "LWO2" or "LWO3": tags; two layers, each with
// points, bounding box, polygons and surface tags (the second unnamed, with patch polygons, a
// flagged count word, a four-byte index and a pentagon); then a clip and a surface. LWO3 starts
// with OTAG and writes the clip and the surface as nested forms.
inline std::string TwoLayerModel(std::string_view formType) {
    const bool lwo3 = formType == "LWO3";
    std::string chunks;
    if (lwo3) {
        chunks += Chunk("OTAG", std::string("TXUVTexture\0", 12));
    }
    chunks += Chunk("TAGS", std::string("Default\0Skin\0\0", 14));
    chunks += Chunk("LAYR", LayerData("front")) +
              Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0})) +
              Chunk("BBOX", Points({0, 0, 0, 1, 1, 0})) +
              Chunk("POLS", "FACE" + Words({4, 0, 1, 2, 3, 3, 0, 1, 2, 2, 3, 1})) +
              Chunk("PTAG", "SURF" + Words({0, 0, 1, 1, 2, 0}));
    chunks += Chunk("LAYR", LayerData("")) +
              Chunk("PNTS", Points({0, 0, 1, 2, 0, 1, 2, 2, 1, 0, 2, 1, 1, 3, 1})) +
              Chunk("BBOX", Points({0, 0, 1, 2, 3, 1})) +
              Chunk("POLS", "PTCH" + Words({0x8004, 0, 1, 2, 3, 3, 0}) +
                                std::string("\xFF\x00\x00\x02", 4) + Words({4, 5, 0, 1, 4, 2, 3})) +
              Chunk("PTAG", "SURF" + Words({0, 1, 1, 1, 2, 1}));
    const std::string image("cc0.png\0", 8);
    if (lwo3) {
        chunks += NestedForm("CLIP", Chunk("    ", BigEndian(1, 4)) +
                                         NestedForm("STIL", Chunk("    ", image)) +
                                         Chunk("FLAG", BigEndian(0x80, 4)));
        chunks += NestedForm(
            "SURF",
            Chunk("    ", std::string("Skin\0\0\0\0", 8)) + Chunk("VERS", BigEndian(0x6A4, 4)) +
                NestedForm("NODS", NestedForm("NROT", Chunk("NLOC", std::string(8, '\0')))));
    } else {
        chunks += Chunk("CLIP", BigEndian(1, 4) + SubChunk("STIL", image) +
                                    SubChunk("FLAG", BigEndian(0x80, 4)));
        chunks += Chunk("SURF", std::string("Skin\0\0\0\0", 8) +
                                    SubChunk("COLR", Points({1, 0.5f, 0}) + Words({0})));
    }
    return LwoFile(formType, chunks);
}

}  // namespace korvane::testing
