#pragma once

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "import/lwo_bytes.h"

// Small valid models that hold every construct the readers know, to be cut and corrupted.

namespace korvane::testing {

inline std::string Mqo(std::string_view body) {
    return "Metasequoia Document\nFormat Text Ver 1.0\n" + std::string(body) + "Eof\n";
}

// x, y, z of each vertex as little-endian floats.
inline std::string LittleEndianFloats(std::initializer_list<float> values) {
    std::string out;
    for (const float value : values) {
        const auto bits = std::bit_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            out.push_back(static_cast<char>((bits >> shift) & 0xFF));
        }
    }
    return out;
}

inline std::string BinaryVertexObject(std::string_view name, std::string_view count,
                                      std::string_view blockBytes, std::string_view block) {
    return "Object \"" + std::string(name) + "\" {\n\tBVertex " + std::string(count) +
           " {\n\t\tVector " + std::string(count) + " [" + std::string(blockBytes) + "]\n" +
           std::string(block) + "\n\t}\n\tface 1 {\n\t\t3 V(0 1 2)\n\t}\n}\n";
}

inline std::string TriangleObject(std::string_view name, std::string_view settings = "") {
    return "Object \"" + std::string(name) + "\" {\n" + std::string(settings) +
           "\tvertex 3 {\n\t\t0 0 0\n\t\t10 0 0\n\t\t0 10 0\n\t}\n\tface 1 {\n\t\t3 V(0 1 2)\n"
           "\t}\n}\n";
}

// An open profile of `lines` lines, off the axis, to be lathed.
inline std::string LatheObject(std::string_view segments, std::string_view settings = "",
                               int lines = 1) {
    std::string object = "Object \"lathe\" {\n\tlathe 1\n\tlathe_axis 1\n\tlathe_seg " +
                         std::string(segments) + "\n" + std::string(settings) + "\tvertex " +
                         std::to_string(lines + 1) + " {\n";
    for (int v = 0; v <= lines; ++v) {
        object += "\t\t10 " + std::to_string(10 * v) + " 0\n";
    }
    object += "\t}\n\tface " + std::to_string(lines) + " {\n";
    for (int l = 0; l < lines; ++l) {
        object += "\t\t2 V(" + std::to_string(l) + " " + std::to_string(l + 1) + ")\n";
    }
    return object + "\t}\n}\n";
}

inline std::string EveryConstructMqo() {
    return Mqo(
        "Scene {\n\tpos 0 0 1500\n\thead -0.5236\n\tortho 0\n\tdirlights 1 {\n\t\tlight {\n"
        "\t\t\tdir 0.4 0.4 0.8\n\t\t}\n\t}\n}\n"
        "Material 2 {\n\t\"wood\" shader(3) col(0.8 0.6 0.4 1) dif(0.8) tex(\"grain (dark).png\")\n"
        "\t\"plain\" col(1 1 1 1) alpha(\"a.png\") power(5)\n}\n"
        "Object \"lid\" {\n\tvisible 15\n\tcolor 1 0.5 0\n\tvertex 5 {\n\t\t0 0 0\n\t\t10 0 0\n"
        "\t\t10 10 0\n\t\t0 10 0\n\t\t5 5 -10\n\t}\n\tvertexattr {\n\t\tweit {\n\t\t\t1 0.5\n"
        "\t\t}\n\t}\n\tface 4 {\n\t\t4 V(0 1 2 3) M(0) UV(0 0 1 0 1 1 0 1)\n\t\t3 V(0 1 4)\n"
        "\t\t2 V(3 4)\n\t\t5 V(0 1 2 3 4)\n\t}\n}\n" +
        TriangleObject("half", "\tmirror 2\n\tmirror_axis 3\n\tmirror_dis 15\n") +
        LatheObject("6", "\tmirror 1\n") +
        BinaryVertexObject("binary", "3", "36", LittleEndianFloats({0, 0, 0, 1, 0, 0, 0, 1, 0})));
}

inline std::string EveryConstructLwo2() {
    return LwoFile(
        "LWO2", Chunk("TAGS", std::string("Default\0", 8)) + Chunk("LAYR", LayerData("front")) +
                    Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0})) +
                    Chunk("POLS", "FACE" + Words({4, 0, 1, 2, 3, 3, 0, 1, 2, 2, 1, 3})) +
                    Chunk("PTAG", "SURF" + Words({0, 0})) + Chunk("LAYR", LayerData("back")) +
                    Chunk("PNTS", Points({0, 0, 1, 1, 0, 1, 1, 1, 1})) +
                    Chunk("POLS", "PTCH" + Words({3, 0, 1}) + std::string("\xFF\x00\x00\x02", 4) +
                                      Words({0x0403, 0, 1, 2})) +
                    Chunk("ODD ", "x"));
}

inline std::string EveryConstructLwob() {
    return LwoFile("LWOB",
                   Chunk("SRFS", std::string("Skin\0", 5)) +
                       Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0})) +
                       Chunk("POLS", Words({4, 0, 1, 2, 3, 1, 3, 0, 1, 2, 0xFFFF, 1, 2, 2, 3, 1})));
}

}  // namespace korvane::testing
