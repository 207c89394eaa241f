#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "document/object_store.h"
#include "fuzz/fuzz_checks.h"
#include "import/assimp_handback.h"
#include "import/assimp_import.h"
#include "import/assimp_weld.h"

// The code on both sides of the assimp helper's pipe, assimp itself left out: the bytes as a
// hand-back that the parent decodes and converts (they come from another process and are not
// trusted), under the full budget and under one that the hand-back fills exactly, and the same
// bytes as positions that the helper welds, encodes and the parent reads back. Positions are
// drawn from a few coordinates, signed zeros and NaNs among them, so that equal ones are common.

namespace korvane::fuzz {
namespace {

constexpr std::array<std::uint32_t, 12> kCoordinateBits = {
    0x00000000, 0x80000000, 0x3F800000, 0xBF800000, 0x3F800001, 0x7FC00000,
    0x7FC00001, 0xFFC00000, 0x7F800000, 0x00000001, 0x80000001, 0x4B800000};

std::uint32_t KeyBits(float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    return bits == 0x80000000u ? 0u : bits;
}

ImportResult RequireConvertedWhole(std::string_view bytes, const HandBackBudget& budget) {
    ObjectStore store;
    std::string detail;
    const ImportResult result = ImportHandBack(bytes, "fuzz", 0.5f, store, &detail, budget);
    Require(result.status == ImportStatus::kImported ||
                result.status == ImportStatus::kImporterCrashed ||
                result.status == ImportStatus::kAssimpRefused ||
                result.status == ImportStatus::kImporterOutOfMemory,
            "a hand-back is imported, damaged, refused or beyond the budget");
    Require(result.status == ImportStatus::kImported || !detail.empty(),
            "what was not imported is explained");
    RequireHonestImport(result, store);
    return result;
}

// What the meshes of a decoded hand-back take of each limit of the budget; the texts are left
// unbounded (an empty extension list and none are the same when decoded).
HandBackBudget Taken(const HandBack& back, std::size_t size) {
    HandBackBudget taken{.meshes = back.meshes.size(),
                         .vertices = 0,
                         .faces = 0,
                         .corners = 0,
                         .nameBytes = 0,
                         .textBytes = size};
    for (const HandBackMesh& mesh : back.meshes) {
        taken.vertices += mesh.vertexCount;
        taken.faces += mesh.faceCount;
        taken.corners += mesh.cornerTotal;
        taken.nameBytes += mesh.name.size();
    }
    return taken;
}

// A hand-back passes a budget that it fills exactly, with the same objects; one less in any
// limit and it is damaged and adds nothing.
void RequireBudgetHeld(std::string_view bytes) {
    const ImportResult full = RequireConvertedWhole(bytes, kHandBackBudget);
    const HandBack back = DecodeHandBack(bytes);
    if (!back.error.empty() || back.tooLarge) {
        return;  // the meshes before a budget record are counted but not kept
    }
    const HandBackBudget exact = Taken(back, bytes.size());
    const ImportResult filled = RequireConvertedWhole(bytes, exact);
    Require(filled.status == full.status && filled.objectsAdded == full.objectsAdded,
            "a hand-back passes the budget it fills");
    HandBackBudget lower = exact;
    std::uint64_t* limits[] = {&lower.meshes, &lower.vertices, &lower.faces, &lower.corners,
                               &lower.nameBytes};
    std::uint64_t& limit = *limits[bytes.size() % std::size(limits)];
    if (limit > 0) {
        --limit;
        const ImportResult beyond = RequireConvertedWhole(bytes, lower);
        Require(beyond.status == ImportStatus::kImporterCrashed,
                "one less in a limit and the hand-back is damaged");
    }
}

void RequireWeldAndRoundTrip(std::string_view bytes) {
    const std::size_t count = bytes.size() / 3;
    std::vector<float> xyz(3 * count);
    for (std::size_t i = 0; i < xyz.size(); ++i) {
        const auto pick = static_cast<unsigned char>(bytes[i]) % kCoordinateBits.size();
        xyz[i] = std::bit_cast<float>(kCoordinateBits[pick]);
    }
    std::vector<float> welded;
    std::vector<std::uint32_t> remap;
    WeldPositions(xyz, welded, remap);
    Require(remap.size() == count && welded.size() % 3 == 0, "one index per vertex");
    const std::size_t distinct = welded.size() / 3;
    std::set<std::array<std::uint32_t, 3>> keys;
    for (std::size_t v = 0; v < distinct; ++v) {
        keys.insert(
            {KeyBits(welded[3 * v]), KeyBits(welded[3 * v + 1]), KeyBits(welded[3 * v + 2])});
    }
    Require(keys.size() == distinct, "welded positions are distinct");
    std::uint32_t next = 0;
    for (std::size_t i = 0; i < count; ++i) {
        Require(remap[i] <= next, "welded in order of first appearance");
        next += remap[i] == next ? 1 : 0;
        for (int a = 0; a < 3; ++a) {
            Require(KeyBits(xyz[3 * i + a]) == KeyBits(welded[3 * remap[i] + a]),
                    "a vertex maps to its own position");
        }
    }
    Require(next == distinct, "every welded position is used");

    // Consecutive vertices as lines, as the helper would send them.
    const std::vector<std::uint32_t> counts(count / 2, 2);
    const std::vector<std::uint32_t> corners(remap.begin(), remap.begin() + 2 * (count / 2));
    std::string handBack;
    AppendHandBackHeader(handBack);
    AppendHandBackMesh(handBack, "lines", nullptr, welded, counts, corners);
    AppendHandBackEnd(handBack, 1);
    const HandBack decoded = DecodeHandBack(handBack);
    Require(decoded.error.empty() && decoded.meshes.size() == 1, "what is written reads back");
    Require(decoded.meshes[0].vertexCount == distinct &&
                decoded.meshes[0].cornerTotal == corners.size(),
            "with its counts");
    ObjectStore store;
    const ImportResult result = ImportHandBack(handBack, "fuzz", 1.0f, store);
    Require(result.status == ImportStatus::kImported && result.objectsAdded == 1,
            "a welded mesh imports");
    Require(store.objects.GetHead()->PointCount() == static_cast<std::int32_t>(distinct),
            "one control point per welded position");
    RequireSoundNetworks(store);
}

}  // namespace
}  // namespace korvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = korvane::fuzz::AsBytes(data, size);
    korvane::fuzz::RequireBudgetHeld(bytes);
    korvane::fuzz::RequireWeldAndRoundTrip(bytes);
    return 0;
}
