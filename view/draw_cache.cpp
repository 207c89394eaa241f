#include "view/draw_cache.h"

#include <unordered_set>

namespace korvane {

DrawCache::Shape DrawCache::ShapeOf(const PatchObject& object, DrawLayer layer, int resolution) {
    // Only what the layer draws: detecting patches must not throw away the curves' list.
    Shape shape;
    shape.controlPoints = object.PointCount();
    shape.resolution = resolution;
    if (layer != DrawLayer::kControlPoints) {
        shape.splines = object.SplineCount();
    }
    if (layer == DrawLayer::kSurfaces || layer == DrawLayer::kSmoothSurfaces) {
        shape.patches = static_cast<std::int32_t>(object.patches.size());
    }
    return shape;
}

void DrawCache::Draw(const PatchObject& object, DrawLayer layer, int resolution,
                     const std::function<void()>& emit) {
    const Shape shape = ShapeOf(object, layer, resolution);
    const Key key{&object, layer};
    Entry& entry = entries_[key];
    if (entry.list != 0 && entry.shape == shape) {
        glCallList(entry.list);
        return;
    }
    // An out-of-date list keeps its name: compiling into it replaces what it held.
    if (entry.list == 0) {
        entry.list = glGenLists(1);
    }
    if (entry.list == 0) {
        entries_.erase(key);
        emit();
        return;
    }
    glNewList(entry.list, GL_COMPILE);
    emit();
    glEndList();
    ++compileCount_;
    entry.shape = shape;
    glCallList(entry.list);
}

void DrawCache::KeepOnly(const ObjectList<PatchObject>* objects) {
    std::unordered_set<const PatchObject*> present;
    if (objects != nullptr) {
        for (const PatchObject* object : *objects) {
            present.insert(object);
        }
    }
    for (auto entry = entries_.begin(); entry != entries_.end();) {
        if (present.count(entry->first.first) == 0) {
            glDeleteLists(entry->second.list, 1);
            entry = entries_.erase(entry);
        } else {
            ++entry;
        }
    }
}

void DrawCache::Clear() {
    for (const auto& [key, entry] : entries_) {
        glDeleteLists(entry.list, 1);
    }
    entries_.clear();
}

void DrawCache::Abandon() {
    entries_.clear();
}

}  // namespace korvane
