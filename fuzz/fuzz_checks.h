#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/object_store.h"
#include "import/import_status.h"
#include "patch/patch_invariants.h"

// What every fuzz target asserts after an import: sanitizers catch memory faults on their own,
// these catch a reader that survives but leaves a broken network or a status that lies.

namespace korvane::fuzz {

// Aborts with the reason, which libFuzzer records as a crash with this input.
inline void Require(bool holds, std::string_view what) {
    if (!holds) {
        std::fprintf(stderr, "fuzz check failed: %.*s\n", static_cast<int>(what.size()),
                     what.data());
        std::abort();
    }
}

inline void RequireSoundNetworks(const ObjectStore& store) {
    for (const PatchObject* object : store.objects) {
        const auto violations = CheckPatchInvariants(*object);
        Require(violations.empty(), violations.empty() ? "" : violations.front());
    }
}

// A recognised file reports exactly the objects it added; an unrecognised one, or an archive that
// could not be unpacked, adds none.
inline void RequireHonestImport(const ImportResult& result, const ObjectStore& store) {
    Require(result.objectsAdded == store.objects.GetCount(), "objectsAdded counts the objects");
    Require(result.droppedFaces >= 0, "droppedFaces is not negative");
    Require(result.status != ImportStatus::kCannotOpen, "bytes never give kCannotOpen");
    if (result.status != ImportStatus::kImported) {
        Require(result.objectsAdded == 0 && !result.truncated, "a refused file adds nothing");
    }
    RequireSoundNetworks(store);
}

inline std::string_view AsBytes(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace korvane::fuzz
