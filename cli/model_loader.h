#pragma once

#include <string>
#include <vector>

#include "document/object_store.h"
#include "import/assimp_import.h"

namespace korvane::cli {

struct LoadOutcome {
    bool ok = true;
    std::string failure;                // one line naming the file and the reason, when !ok
    std::vector<std::string> messages;  // what the desktop program would have shown
};

// Imports every path in order into the store, choosing the reader by the file's content: .mqo,
// .mqoz, .lwo and .rvp files are told by their first bytes, any other file is read through assimp
// with `assimp`. Stops at the first file that cannot be read, is not a model or does not fit in
// memory; objects of earlier files stay, and the failed file adds none.
LoadOutcome LoadModels(const std::vector<std::string>& paths, ObjectStore& store,
                       const AssimpImportOptions& assimp = {});

}  // namespace korvane::cli
