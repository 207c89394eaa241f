#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "geometry/object_list.h"
#include "patch/patch_object.h"
#include "view/surface_mesh.h"

namespace korvane {

enum class DrawLayer { kControlPoints, kCurves, kSurfaces, kSmoothSurfaces };

// Where the surfaces that the cache does not hold yet come from.
enum class SurfaceSource {
    kBuildOnDraw,  // sampled when first drawn and kept for every frame after
    kStreamOnce,   // sampled and drawn piece by piece, never kept: one frame with little memory
    kSmallOnDraw,  // as kBuildOnDraw up to kDrawnSurfaceSamples samples; bigger ones are left
                   // out and listed as missing, for StoreSurfaces to bring
};

// The most samples an object's surfaces may have to be sampled in the middle of a frame with
// kSmallOnDraw: a few hundredths of a second.
inline constexpr std::size_t kDrawnSurfaceSamples = 300'000;

// Which of an object's surface triangles a draw covers.
struct SurfaceSelection {
    bool standIn = false;  // the stand-in instead of the surfaces, where they have one
    std::size_t firstTriangle = 0;
    std::size_t endTriangle = SIZE_MAX;
    // Only surfaces held already: others are listed for TakeMissing whatever the source, so that
    // the parts of one frame count the same triangles.
    bool heldOnly = false;
};

// The geometry of every object's points and curves compiled into OpenGL display lists, and of its
// surfaces in vertex buffers (positions and normals) with their index buffers, so that orbiting a
// big model replays them instead of sampling every spline and evaluating every patch again. An
// entry is rebuilt when the counts it depends on or the resolution change; whoever changes
// objects in place (handles, positions) clears the cache. Every call that deletes or replays
// entries needs the context they were made in to be current.
class DrawCache {
  public:
    DrawCache() = default;
    DrawCache(const DrawCache&) = delete;
    DrawCache& operator=(const DrawCache&) = delete;
    ~DrawCache() = default;  // lists belong to their context and go with it

    // Replays the object's list of the layer for chunk `index` of its chunkCount chunks (the
    // caller's cut of the object at chunkSize, which must be the same for the same object, layer,
    // resolution and chunkSize); compiles what emit draws into it first when there is none yet or
    // it is out of date. Draws immediately when no list can be made.
    void Draw(const PatchObject& object, DrawLayer layer, int resolution, std::size_t chunkSize,
              std::size_t chunkCount, std::size_t index, const std::function<void()>& emit);

    // Draws the object's surfaces of the layer (kSurfaces or kSmoothSurfaces) from their buffers,
    // as much of them as selection says; where the cache does not hold them, all of them as the
    // surface source says.
    void DrawSurfaces(const PatchObject& object, DrawLayer layer, int resolution,
                      const SurfaceSelection& selection);

    // Whether the surfaces of the layer at resolution are held and current.
    bool HoldsSurfaces(const PatchObject& object, DrawLayer layer, int resolution) const;
    // Uploads mesh as the object's surfaces of the layer, replacing what was held.
    void StoreSurfaces(const PatchObject& object, DrawLayer layer, int resolution,
                       const SurfaceMesh& mesh);
    // StoreSurfaces at most maxBytes a call, so that no call takes long: true once the whole mesh
    // is uploaded and held. Until then the surfaces count as not held; mesh must stay as it is
    // between the calls.
    bool StoreSurfacesPiece(const PatchObject& object, DrawLayer layer, int resolution,
                            const SurfaceMesh& mesh, std::size_t maxBytes);
    // How many samples and triangles the held surfaces of the layer have; 0 when none are held.
    std::size_t SurfaceSamples(const PatchObject& object, DrawLayer layer) const;
    std::size_t SurfaceTriangles(const PatchObject& object, DrawLayer layer) const;

    void SetSurfaceSource(SurfaceSource source) { source_ = source; }
    // The surfaces that kSmallOnDraw left out since the last call, and forgets them.
    struct MissingSurfaces {
        const PatchObject* object = nullptr;
        DrawLayer layer = DrawLayer::kSurfaces;
        int resolution = 1;
        bool operator==(const MissingSurfaces&) const = default;
    };
    std::vector<MissingSurfaces> TakeMissing();

    // Deletes the entries of objects that are no longer among objects (null: none remain).
    void KeepOnly(const ObjectList<PatchObject>* objects);

    // Deletes every entry.
    void Clear();

    // Forgets every list without touching OpenGL, for when the context itself is gone.
    void Abandon();

    // Entries held: one per object and layer.
    std::size_t ListCount() const { return entries_.size(); }
    std::uint64_t CompileCount() const { return compileCount_; }

  private:
    struct Shape {
        std::int32_t controlPoints = 0;
        std::int32_t splines = 0;
        std::int32_t patches = 0;
        int resolution = 0;
        std::size_t chunkSize = 0;
        bool operator==(const Shape&) const = default;
    };
    struct Entry {
        std::vector<GLuint> lists;   // a list per chunk, 0 where none was made yet
        std::vector<bool> compiled;  // whether the chunk's list holds the current shape
        // Surfaces: samples and their indices, then the stand-in's.
        GLuint buffers[4] = {0, 0, 0, 0};
        std::size_t samples = 0;
        std::size_t indices = 0;
        std::size_t standInIndices = 0;
        std::size_t uploaded = 0;  // bytes of the mesh under way; held once none is under way
        bool uploading = false;
        Shape shape;
    };
    using Key = std::pair<const PatchObject*, DrawLayer>;

    static Shape ShapeOf(const PatchObject& object, DrawLayer layer, int resolution);
    static void Delete(Entry& entry);
    static void DrawBuffers(const Entry& entry, const SurfaceSelection& selection);
    void StreamNetSurfaces(const PatchObject& object, int resolution);

    std::map<Key, Entry> entries_;
    std::uint64_t compileCount_ = 0;
    SurfaceSource source_ = SurfaceSource::kBuildOnDraw;
    std::vector<MissingSurfaces> missing_;
};

}  // namespace korvane
