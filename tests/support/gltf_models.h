#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// glTF 2.0 text files laid out as Blender's exporter writes them (asset, scenes, nodes, meshes,
// accessors, bufferViews, buffers), for the tests of files read through assimp.

namespace korvane::testing {

inline std::string JsonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

inline std::string Base64(std::string_view bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t group = 0;
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        for (std::size_t k = 0; k < 3; ++k) {
            group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            text += k <= n ? kDigits[(group >> (18 - 6 * k)) & 63] : '=';
        }
    }
    return text;
}

template <class T>
void AppendBytes(std::string& out, T value) {
    char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    out.append(bytes, sizeof bytes);
}

// The 36 bytes of a triangle's positions: (0, 0, 0), (1, 0, 0), (0, 1, 0).
inline std::string TriangleBuffer() {
    std::string bytes;
    for (const float value : {0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f}) {
        AppendBytes(bytes, value);
    }
    return bytes;
}

// One node placing one mesh of one triangle, without indices, whose positions are the first 36
// bytes of the buffer at `uri`.
inline std::string GltfTriangle(const std::string& uri) {
    return R"({
  "asset": {"generator": "Khronos glTF Blender I/O v3.6.28", "version": "2.0"},
  "scene": 0,
  "scenes": [{"name": "Scene", "nodes": [0]}],
  "nodes": [{"mesh": 0, "name": "Triangle"}],
  "meshes": [{"name": "Triangle", "primitives": [{"attributes": {"POSITION": 0}, "mode": 4}]}],
  "accessors": [{"bufferView": 0, "componentType": 5126, "count": 3, "type": "VEC3",
                 "max": [1, 1, 0], "min": [0, 0, 0]}],
  "bufferViews": [{"buffer": 0, "byteLength": 36, "byteOffset": 0, "target": 34962}],
  "buffers": [{"byteLength": 36, "uri": )" +
           JsonString(uri) + "}]\n}\n";
}

// A grid of side x side vertices a hundredth apart, two triangles a cell (2 (side - 1)^2 faces),
// placed by `instances` nodes named Grid.0, Grid.1, ... side by side; its buffer is embedded as
// a data: URI, so that the whole file stays small however many nodes place the mesh.
inline std::string InstancedGridGltf(int instances, int side) {
    std::string buffer;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            for (const float value :
                 {0.01f * static_cast<float>(x), 0.01f * static_cast<float>(y), 0.0f}) {
                AppendBytes(buffer, value);
            }
        }
    }
    const std::size_t positionBytes = buffer.size();
    for (int y = 0; y + 1 < side; ++y) {
        for (int x = 0; x + 1 < side; ++x) {
            const auto a = static_cast<std::uint16_t>(y * side + x);
            const auto b = static_cast<std::uint16_t>(a + 1);
            const auto c = static_cast<std::uint16_t>(a + side + 1);
            const auto d = static_cast<std::uint16_t>(a + side);
            for (const std::uint16_t index : {a, b, c, a, c, d}) {
                AppendBytes(buffer, index);
            }
        }
    }
    const std::size_t indexCount = (buffer.size() - positionBytes) / 2;
    std::string nodes, placed;
    for (int i = 0; i < instances; ++i) {
        placed += (i > 0 ? ", " : "") + std::to_string(i);
        nodes += std::string(i > 0 ? ",\n    " : "") + R"({"mesh": 0, "name": "Grid.)" +
                 std::to_string(i) + R"(", "translation": [)" + std::to_string(i % 50) + ", " +
                 std::to_string(i / 50) + ", 0]}";
    }
    const float extent = 0.01f * static_cast<float>(side - 1);
    return R"({
  "asset": {"generator": "Khronos glTF Blender I/O v3.6.28", "version": "2.0"},
  "scene": 0,
  "scenes": [{"name": "Scene", "nodes": [)" +
           placed + R"(]}],
  "nodes": [
    )" + nodes +
           R"(],
  "meshes": [{"name": "Grid", "primitives": [{"attributes": {"POSITION": 0}, "indices": 1}]}],
  "accessors": [
    {"bufferView": 0, "componentType": 5126, "count": )" +
           std::to_string(side * side) + R"(, "type": "VEC3", "max": [)" + std::to_string(extent) +
           ", " + std::to_string(extent) + R"(, 0], "min": [0, 0, 0]},
    {"bufferView": 1, "componentType": 5123, "count": )" +
           std::to_string(indexCount) + R"(, "type": "SCALAR"}],
  "bufferViews": [
    {"buffer": 0, "byteLength": )" +
           std::to_string(positionBytes) + R"(, "byteOffset": 0, "target": 34962},
    {"buffer": 0, "byteLength": )" +
           std::to_string(buffer.size() - positionBytes) + R"(, "byteOffset": )" +
           std::to_string(positionBytes) + R"(, "target": 34963}],
  "buffers": [{"byteLength": )" +
           std::to_string(buffer.size()) + R"(, "uri": "data:application/octet-stream;base64,)" +
           Base64(buffer) + R"("}]
}
)";
}

}  // namespace korvane::testing
