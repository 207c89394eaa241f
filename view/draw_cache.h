#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "geometry/object_list.h"
#include "patch/patch_object.h"

namespace korvane {

enum class DrawLayer { kControlPoints, kCurves, kSurfaces, kSmoothSurfaces };

// The geometry of every object's points, curves and surfaces compiled into OpenGL display lists,
// so that orbiting a big model replays them instead of sampling every spline and evaluating every
// patch again. A list is rebuilt when the counts it depends on or the resolution change; whoever
// changes objects in place (handles, positions) clears the cache. Every call that deletes or
// replays lists needs the context they were made in to be current.
class DrawCache {
  public:
    DrawCache() = default;
    DrawCache(const DrawCache&) = delete;
    DrawCache& operator=(const DrawCache&) = delete;
    ~DrawCache() = default;  // lists belong to their context and go with it

    // Replays the object's list of the layer; compiles what emit draws into it first when there
    // is none yet or it is out of date. Draws immediately when no list can be made.
    void Draw(const PatchObject& object, DrawLayer layer, int resolution,
              const std::function<void()>& emit);

    // Deletes the lists of objects that are no longer among objects (null: none remain).
    void KeepOnly(const ObjectList<PatchObject>* objects);

    // Deletes every list.
    void Clear();

    // Forgets every list without touching OpenGL, for when the context itself is gone.
    void Abandon();

    std::size_t ListCount() const { return entries_.size(); }
    std::uint64_t CompileCount() const { return compileCount_; }

  private:
    struct Shape {
        std::int32_t controlPoints = 0;
        std::int32_t splines = 0;
        std::int32_t patches = 0;
        int resolution = 0;
        bool operator==(const Shape&) const = default;
    };
    struct Entry {
        GLuint list = 0;
        Shape shape;
    };
    using Key = std::pair<const PatchObject*, DrawLayer>;

    static Shape ShapeOf(const PatchObject& object, DrawLayer layer, int resolution);

    std::map<Key, Entry> entries_;
    std::uint64_t compileCount_ = 0;
};

}  // namespace korvane
