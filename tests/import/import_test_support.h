#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "import/object_sink.h"
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

inline const ControlPoint& PointAt(const PatchObject& object, std::int32_t index) {
    return *object.controlPoints.GetAt(object.controlPoints.FindIndex(index));
}

// The control points that a two-node spline runs between, by index in the object's list.
inline std::vector<std::pair<std::int32_t, std::int32_t>> SplineEnds(PatchObject& object) {
    object.NumberControlPoints();
    std::vector<std::pair<std::int32_t, std::int32_t>> ends;
    for (const Spline* spline : object.splines) {
        ends.emplace_back(spline->nodes.GetHead()->controlPoint->index,
                          spline->nodes.GetTail()->controlPoint->index);
    }
    return ends;
}

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline const std::string kSampleMqoPath = std::string(KORVANE_TEST_DATA_DIR) + "/import/sample.mqo";

}  // namespace korvane::testing
