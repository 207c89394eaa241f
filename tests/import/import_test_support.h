#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/object_store.h"
#include "patch/patch_object.h"

namespace korvane::testing {

inline std::vector<PatchObject*> ObjectsOf(const ObjectStore& store) {
    std::vector<PatchObject*> objects;
    for (PatchObject* object : store.objects) {
        objects.push_back(object);
    }
    return objects;
}

inline std::vector<std::string> NamesOf(const ObjectStore& store) {
    std::vector<std::string> names;
    for (const PatchObject* object : store.objects) {
        names.push_back(object->name);
    }
    return names;
}

inline const PatchVec3& PointAt(const PatchObject& object, std::int32_t index) {
    return object.Points().at(static_cast<std::size_t>(index));
}

// The control points that a two-node spline runs between, by index.
inline std::vector<std::pair<std::int32_t, std::int32_t>> SplineEnds(const PatchObject& object) {
    std::vector<std::pair<std::int32_t, std::int32_t>> ends;
    for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
        const std::span<const SplineNode> nodes = object.SplineNodes(spline);
        ends.emplace_back(nodes.front().controlPoint, nodes.back().controlPoint);
    }
    return ends;
}

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline const std::string kSampleMqoPath = std::string(KORVANE_TEST_DATA_DIR) + "/import/sample.mqo";

}  // namespace korvane::testing
