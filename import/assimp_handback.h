#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What the assimp helper (korvane-assimp) hands back through its pipe. The bytes come from
// another process that parsed an untrusted file, so DecodeHandBack checks every count against
// the bytes actually received before anything is sized by it, and accepts the bytes only whole.
//
// Layout, in the machine's own byte order (both ends run on one machine), every number a u32
// unless marked f32:
//   header  "KVHB" version
//   records, each a one-byte tag and its fields:
//     'M' mesh        nameBytes name hasMaterial f32 diffuse[3] vertexCount faceCount cornerTotal
//                     f32 xyz[3 * vertexCount] cornerCount[faceCount] corner[cornerTotal]
//     'R' refused     textBytes text: assimp's reason for not reading the file; no 'M' beside it
//     'X' extensions  textBytes text: the extensions assimp reads, ';' between, no dots
//     'E' end         meshCount: the number of 'M' records; the last record, nothing after it
// hasMaterial is 0 or 1; the diffuse colour (red, green, blue, 0 to 1) counts only with 1. Every
// cornerCount is at least 2, they add up to cornerTotal, and every corner is below vertexCount.
// The helper writes the records to file descriptor kHandBackFd and exits with status 0; it exits
// with kHelperExitOutOfMemory when an allocation failed under its memory limit.

namespace korvane {

inline constexpr std::string_view kHandBackMagic = "KVHB";
inline constexpr std::uint32_t kHandBackVersion = 1;
inline constexpr int kHandBackFd = 3;
inline constexpr int kHelperExitOutOfMemory = 86;

// One mesh record, viewed in place in the decoded bytes.
struct HandBackMesh {
    std::string_view name;
    bool hasMaterial = false;
    float diffuse[3] = {0.0f, 0.0f, 0.0f};
    std::uint32_t vertexCount = 0;
    std::uint32_t faceCount = 0;
    std::uint32_t cornerTotal = 0;
    const char* positions = nullptr;     // 12 bytes per vertex
    const char* cornerCounts = nullptr;  // 4 bytes per face
    const char* corners = nullptr;       // 4 bytes per corner
};

struct HandBack {
    std::vector<HandBackMesh> meshes;
    bool refused = false;
    std::string_view refusal;  // assimp's words, when refused
    std::string_view extensions;
    std::string error;  // empty when the bytes are one whole, valid hand-back
};

HandBack DecodeHandBack(std::string_view bytes);

// The face sizes and corners of a decoded mesh, one at a time.
std::uint32_t HandBackCornerCount(const HandBackMesh& mesh, std::uint32_t face);
std::uint32_t HandBackCorner(const HandBackMesh& mesh, std::uint32_t corner);
void HandBackPosition(const HandBackMesh& mesh, std::uint32_t vertex, float xyz[3]);

// The helper's side.
void AppendHandBackHeader(std::string& out);
// `diffuse` is null for a mesh without a material.
void AppendHandBackMesh(std::string& out, std::string_view name, const float* diffuse,
                        std::span<const float> xyz, std::span<const std::uint32_t> cornerCounts,
                        std::span<const std::uint32_t> corners);
void AppendHandBackText(std::string& out, char tag, std::string_view text);
void AppendHandBackEnd(std::string& out, std::uint32_t meshCount);

}  // namespace korvane
