#define GL_GLEXT_PROTOTYPES
#include "view/draw_cache.h"

#include <GL/glext.h>

#include <algorithm>
#include <cstddef>
#include <future>
#include <unordered_set>

#include "patch/surface_sampling.h"

namespace korvane {
namespace {

// Samples drawn at a time when surfaces are streamed: 24 MB, few draws and little memory.
constexpr std::size_t kStreamSamples = 1'000'000;

const void* BufferOffset(std::size_t bytes) {
    return reinterpret_cast<const void*>(bytes);
}

// Draws the triangles of count indices (from the bound index buffer when there is one) over the
// samples that the vertex and normal pointers name.
void DrawTriangles(const void* indices, std::size_t count) {
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(count), GL_UNSIGNED_INT, indices);
}

void PointAtSamples(const SurfaceSample* first) {
    const auto stride = static_cast<GLsizei>(sizeof(SurfaceSample));
    const auto* bytes = reinterpret_cast<const unsigned char*>(first);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, bytes + offsetof(SurfaceSample, position));
    glNormalPointer(GL_FLOAT, stride, bytes + offsetof(SurfaceSample, normal));
}

void StopPointing() {
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void DrawMesh(const SurfaceMesh& mesh) {
    if (mesh.indices.empty()) {
        return;
    }
    PointAtSamples(mesh.samples.data());
    DrawTriangles(mesh.indices.data(), mesh.indices.size());
    StopPointing();
}

bool IsSurfaceLayer(DrawLayer layer) {
    return layer == DrawLayer::kSurfaces || layer == DrawLayer::kSmoothSurfaces;
}

}  // namespace

DrawCache::Shape DrawCache::ShapeOf(const PatchObject& object, DrawLayer layer, int resolution) {
    // Only what the layer draws: detecting patches must not throw away the curves' list.
    Shape shape;
    shape.controlPoints = object.PointCount();
    shape.resolution = resolution;
    if (layer != DrawLayer::kControlPoints) {
        shape.splines = object.SplineCount();
    }
    if (IsSurfaceLayer(layer)) {
        shape.patches = static_cast<std::int32_t>(object.Patches().size());
    }
    return shape;
}

void DrawCache::Draw(const PatchObject& object, DrawLayer layer, int resolution,
                     std::size_t chunkSize, std::size_t chunkCount, std::size_t index,
                     const std::function<void()>& emit) {
    Shape shape = ShapeOf(object, layer, resolution);
    shape.chunkSize = chunkSize;
    const Key key{&object, layer};
    Entry& entry = entries_[key];
    if (entry.shape != shape || entry.lists.size() != chunkCount) {
        // Lists out of date keep their names: compiling into one replaces what it held.
        for (std::size_t k = chunkCount; k < entry.lists.size(); ++k) {
            if (entry.lists[k] != 0) {
                glDeleteLists(entry.lists[k], 1);
            }
        }
        entry.lists.resize(chunkCount, 0);
        entry.compiled.assign(chunkCount, false);
        entry.shape = shape;
    }
    if (index >= chunkCount) {
        return;
    }
    GLuint& list = entry.lists[index];
    if (list != 0 && entry.compiled[index]) {
        glCallList(list);
        return;
    }
    if (list == 0) {
        list = glGenLists(1);
    }
    if (list == 0) {
        emit();
        return;
    }
    glNewList(list, GL_COMPILE);
    emit();
    glEndList();
    entry.compiled[index] = true;
    ++compileCount_;
    glCallList(list);
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
            Delete(entry->second);
            entry = entries_.erase(entry);
        } else {
            ++entry;
        }
    }
}

void DrawCache::Clear() {
    for (auto& [key, entry] : entries_) {
        Delete(entry);
    }
    entries_.clear();
}

void DrawCache::Delete(Entry& entry) {
    for (const GLuint list : entry.lists) {
        if (list != 0) {
            glDeleteLists(list, 1);
        }
    }
    if (entry.buffers[0] != 0) {
        glDeleteBuffers(4, entry.buffers);
    }
}

bool DrawCache::HoldsSurfaces(const PatchObject& object, DrawLayer layer, int resolution) const {
    const auto entry = entries_.find(Key{&object, layer});
    return entry != entries_.end() && entry->second.buffers[0] != 0 && !entry->second.uploading &&
           entry->second.shape == ShapeOf(object, layer, resolution);
}

std::size_t DrawCache::SurfaceSamples(const PatchObject& object, DrawLayer layer) const {
    const auto entry = entries_.find(Key{&object, layer});
    return entry != entries_.end() ? entry->second.samples : 0;
}

std::size_t DrawCache::SurfaceTriangles(const PatchObject& object, DrawLayer layer) const {
    const auto entry = entries_.find(Key{&object, layer});
    return entry != entries_.end() ? entry->second.indices / 3 : 0;
}

void DrawCache::StoreSurfaces(const PatchObject& object, DrawLayer layer, int resolution,
                              const SurfaceMesh& mesh) {
    // Whatever upload was under way gives way to this mesh.
    entries_[Key{&object, layer}].uploading = false;
    StoreSurfacesPiece(object, layer, resolution, mesh, SIZE_MAX);
}

bool DrawCache::StoreSurfacesPiece(const PatchObject& object, DrawLayer layer, int resolution,
                                   const SurfaceMesh& mesh, std::size_t maxBytes) {
    Entry& entry = entries_[Key{&object, layer}];
    const struct Part {
        GLenum target;
        const void* data;
        std::size_t bytes;
    } parts[4] = {
        {GL_ARRAY_BUFFER, mesh.samples.data(), mesh.samples.size() * sizeof(SurfaceSample)},
        {GL_ELEMENT_ARRAY_BUFFER, mesh.indices.data(), mesh.indices.size() * sizeof(std::uint32_t)},
        {GL_ARRAY_BUFFER, mesh.standIn.samples.data(),
         mesh.standIn.samples.size() * sizeof(SurfaceSample)},
        {GL_ELEMENT_ARRAY_BUFFER, mesh.standIn.indices.data(),
         mesh.standIn.indices.size() * sizeof(std::uint32_t)},
    };
    if (!entry.uploading) {
        if (entry.buffers[0] == 0) {
            glGenBuffers(4, entry.buffers);
        }
        for (int k = 0; k < 4; ++k) {
            glBindBuffer(parts[k].target, entry.buffers[k]);
            glBufferData(parts[k].target, static_cast<GLsizeiptr>(parts[k].bytes), nullptr,
                         GL_STATIC_DRAW);
            glBindBuffer(parts[k].target, 0);
        }
        entry.uploading = true;
        entry.uploaded = 0;
        entry.samples = 0;
        entry.indices = 0;
        entry.standInIndices = 0;
    }
    // The four arrays one after another, as one run of bytes.
    std::size_t budget = maxBytes;
    std::size_t start = 0;
    for (int k = 0; k < 4 && budget > 0; ++k) {
        const std::size_t end = start + parts[k].bytes;
        if (entry.uploaded < end) {
            const std::size_t offset = entry.uploaded - start;
            const std::size_t bytes = std::min(budget, parts[k].bytes - offset);
            glBindBuffer(parts[k].target, entry.buffers[k]);
            glBufferSubData(parts[k].target, static_cast<GLintptr>(offset),
                            static_cast<GLsizeiptr>(bytes),
                            static_cast<const unsigned char*>(parts[k].data) + offset);
            glBindBuffer(parts[k].target, 0);
            entry.uploaded += bytes;
            budget -= bytes;
        }
        start = end;
    }
    if (entry.uploaded < start) {
        return false;
    }
    entry.uploading = false;
    entry.samples = mesh.samples.size();
    entry.indices = mesh.indices.size();
    entry.standInIndices = mesh.standIn.indices.size();
    entry.shape = ShapeOf(object, layer, resolution);
    ++compileCount_;
    return true;
}

void DrawCache::DrawBuffers(const Entry& entry, const SurfaceSelection& selection) {
    const bool useStandIn = selection.standIn && entry.standInIndices > 0;
    const std::size_t triangles = (useStandIn ? entry.standInIndices : entry.indices) / 3;
    const std::size_t first = useStandIn ? 0 : std::min(selection.firstTriangle, triangles);
    const std::size_t end = useStandIn ? triangles : std::min(selection.endTriangle, triangles);
    if (first >= end) {
        return;
    }
    glBindBuffer(GL_ARRAY_BUFFER, entry.buffers[useStandIn ? 2 : 0]);
    PointAtSamples(nullptr);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, entry.buffers[useStandIn ? 3 : 1]);
    DrawTriangles(BufferOffset(3 * first * sizeof(std::uint32_t)), 3 * (end - first));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    StopPointing();
}

void DrawCache::StreamNetSurfaces(const PatchObject& object, int resolution) {
    const std::size_t patches = object.Patches().size();
    const auto side = static_cast<std::size_t>(2 * resolution + 1);
    const std::size_t piece = std::max<std::size_t>(1, kStreamSamples / (side * side));
    const auto sample = [&object, resolution, piece](std::size_t first) {
        SurfaceMesh mesh;
        AppendNetSurfaces(object, resolution, first, first + piece, mesh);
        return mesh;
    };
    std::future<SurfaceMesh> next = std::async(std::launch::async, sample, 0);
    for (std::size_t first = 0; first < patches; first += piece) {
        const SurfaceMesh mesh = next.get();
        if (first + piece < patches) {
            next = std::async(std::launch::async, sample, first + piece);
        }
        DrawMesh(mesh);
    }
}

void DrawCache::DrawSurfaces(const PatchObject& object, DrawLayer layer, int resolution,
                             const SurfaceSelection& selection) {
    if (!object.PatchesValid()) {
        return;
    }
    if (!HoldsSurfaces(object, layer, resolution) && selection.heldOnly) {
        missing_.push_back({&object, layer, resolution});
        return;
    }
    if (!HoldsSurfaces(object, layer, resolution)) {
        switch (source_) {
            case SurfaceSource::kStreamOnce:
                if (layer == DrawLayer::kSurfaces) {
                    StreamNetSurfaces(object, resolution);
                } else {
                    DrawMesh(SmoothSurfaceMesh(object, resolution));
                }
                return;
            case SurfaceSource::kSmallOnDraw:
                if (NetSurfaceSamples(object, resolution) > kDrawnSurfaceSamples) {
                    missing_.push_back({&object, layer, resolution});
                    return;
                }
                [[fallthrough]];
            case SurfaceSource::kBuildOnDraw: {
                SurfaceMesh mesh = layer == DrawLayer::kSurfaces
                                       ? NetSurfaceMesh(object, resolution)
                                       : SmoothSurfaceMesh(object, resolution);
                AddStandIn(mesh);
                StoreSurfaces(object, layer, resolution, mesh);
                break;
            }
        }
    }
    DrawBuffers(entries_.at(Key{&object, layer}), selection);
}

std::vector<DrawCache::MissingSurfaces> DrawCache::TakeMissing() {
    return std::exchange(missing_, {});
}

void DrawCache::Abandon() {
    entries_.clear();
}

}  // namespace korvane
