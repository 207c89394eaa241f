#include "import/rvp_reader.h"

#include <optional>
#include <utility>
#include <vector>

#include "import/rvp_parser.h"
#include "patch/patch_builder.h"

namespace korvane {

RvpReadResult ImportRvpBytes(std::string_view bytes, ObjectSink& sink) {
    RvpReadResult result;
    std::optional<std::vector<PatchObject>> objects = ParseRvp(bytes, result.error);
    if (!objects) {
        return result;
    }
    for (PatchObject& object : *objects) {
        PatchObject& added = *sink.AddObject();
        added = std::move(object);
        ComputeHandles(added);
        ++result.objectsAdded;
    }
    return result;
}

}  // namespace korvane
