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
//     'S' side file   textBytes text: a file the model names that was not opened, and why
//     'T' too large   textBytes text: how the model goes beyond the budget; the meshes before it
//                     do not count, and no 'M' follows it
//     'X' extensions  textBytes text: the extensions assimp reads, ';' between, no dots
//     'E' end         meshCount: the number of 'M' records; the last record, nothing after it
// hasMaterial is 0 or 1; the diffuse colour (red, green, blue, 0 to 1) counts only with 1. Every
// cornerCount is at least 2, they add up to cornerTotal, and every corner is below vertexCount.
// The meshes together stay within a HandBackBudget. The helper writes the records to file
// descriptor kHandBackFd and exits with status 0; it exits with kHelperExitOutOfMemory when an
// allocation failed under its memory limit.

namespace korvane {

inline constexpr std::string_view kHandBackMagic = "KVHB";
inline constexpr std::uint32_t kHandBackVersion = 1;
inline constexpr int kHandBackFd = 3;
inline constexpr int kHelperExitOutOfMemory = 86;

// What one import may hand back, summed over every mesh record (a mesh that several nodes use
// counts once per node). A model of some million faces fits many times over; a small file that
// instances one mesh thousands of times does not, nor does a hand-back that would make the core
// build more than some gigabytes of objects from it.
struct HandBackBudget {
    std::uint64_t meshes = 100'000;
    std::uint64_t vertices = 20'000'000;
    std::uint64_t faces = 20'000'000;
    std::uint64_t corners = 80'000'000;
    std::uint64_t nameBytes = std::uint64_t{16} << 20;
    std::uint64_t textBytes = std::uint64_t{1} << 20;  // 'R', 'S', 'T' and 'X' records, whole
};
inline constexpr HandBackBudget kHandBackBudget{};

// The most bytes that a hand-back within `budget` can take: the helper's output is cut off there.
std::uint64_t HandBackByteLimit(const HandBackBudget& budget = kHandBackBudget);

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
    bool tooLarge = false;
    std::string_view overBudget;                     // the helper's words, when too large
    std::vector<std::string_view> sideFilesRefused;  // one line each
    std::string_view extensions;
    std::string error;  // empty when the bytes are one whole, valid hand-back
};

// Nothing of the bytes is sized before it is checked against what they hold and the budget; a
// hand-back beyond the budget is damaged (the helper refuses such a model itself).
HandBack DecodeHandBack(std::string_view bytes, const HandBackBudget& budget = kHandBackBudget);

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
