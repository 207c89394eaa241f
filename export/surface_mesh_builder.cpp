#include "export/surface_mesh_builder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>
#include <unordered_map>

#include "patch/curve_fields.h"
#include "patch/patch_facing.h"
#include "patch/smooth_patches.h"
#include "patch/surface_sampling.h"

namespace korvane {
namespace {

// A sample shared between nets: at a control point, at a step of a spline segment (counted from
// the segment's first node), or on a triangle patch's centre or inner borders. The owner is the
// index of the point, of the segment's first node, or of the patch.
struct SharedSample {
    std::int32_t owner;
    std::int32_t kind;
    std::int32_t step;
    bool operator==(const SharedSample&) const = default;
};

enum SampleKind : std::int32_t { kCorner, kSegment, kCentre, kInnerBorder };

struct SharedSampleHash {
    std::size_t operator()(const SharedSample& s) const {
        std::uint64_t h = static_cast<std::uint32_t>(s.owner) * 0x9E3779B97F4A7C15ull;
        h ^= (static_cast<std::uint64_t>(s.kind) << 32 | static_cast<std::uint32_t>(s.step)) *
             0xC2B2AE3D27D4EB4Full;
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
};

class MeshBuilder {
  public:
    // fields, where given, make the grids those of the smooth surfaces.
    MeshBuilder(const PatchObject& object, SurfaceMesh& mesh, std::int32_t surfaceResolution,
                const CurveFields* fields)
        : object_(object),
          mesh_(mesh),
          resolution_(surfaceResolution < 1 ? 1 : surfaceResolution),
          sideSteps_(2 * resolution_),
          fields_(fields) {}

    void AddPatch(std::int32_t patchIndex, bool turned) {
        const Patch& patch = object_.Patches()[static_cast<std::size_t>(patchIndex)];
        const int count = fields_ != nullptr ? SampleSmoothPatch(object_, *fields_, patch,
                                                                 resolution_, smoothGrids_)
                                             : SurfaceNets(object_, patch, nets_);
        const int steps = SurfaceNetSteps(count, resolution_);
        const int row = steps + 1;
        for (int net = 0; net < count; ++net) {
            if (fields_ != nullptr) {
                grid_.swap(smoothGrids_[static_cast<std::size_t>(net)]);
            } else {
                SampleNetGrid(nets_[static_cast<std::size_t>(net)], steps, grid_);
            }
            index_.resize(grid_.size());
            for (int v = 0; v <= steps; ++v) {
                for (int u = 0; u <= steps; ++u) {
                    const auto at = static_cast<std::size_t>(u + row * v);
                    const std::optional<SharedSample> shared = Shared(patchIndex, net, u, v, steps);
                    index_[at] = Vertex(shared, grid_[at], turned);
                }
            }
            // The cells of the view's strips, each cut along the same diagonal.
            for (int v = 0; v < steps; ++v) {
                for (int u = 0; u < steps; ++u) {
                    const std::uint32_t a0 = index_[static_cast<std::size_t>(u + row * v)];
                    const std::uint32_t a1 = index_[static_cast<std::size_t>(u + 1 + row * v)];
                    const std::uint32_t b0 = index_[static_cast<std::size_t>(u + row * (v + 1))];
                    const std::uint32_t b1 =
                        index_[static_cast<std::size_t>(u + 1 + row * (v + 1))];
                    if (turned) {
                        AddTriangle(a0, b0, a1);
                        AddTriangle(a1, b0, b1);
                    } else {
                        AddTriangle(a0, a1, b0);
                        AddTriangle(a1, b1, b0);
                    }
                }
            }
        }
    }

    // Welded vertices get the unit sum of their patches' normals; a sum whose squared length
    // underflows a float is scaled up first.
    void Finish() {
        for (std::size_t i = 0; i < mesh_.normals.size(); ++i) {
            if (reach_[i] < 2) {
                continue;
            }
            Vec3& n = mesh_.normals[i];
            const float squared = n.x * n.x + n.y * n.y + n.z * n.z;
            if (std::isnormal(squared)) {
                const float length = std::sqrt(squared);
                n = Vec3{n.x / length, n.y / length, n.z / length};
            } else {
                n = UnitByLargest(n);
            }
        }
    }

  private:
    // The sample at step `at` of side `side`, counted from the side's first corner.
    SharedSample SideSample(const Patch& patch, int side, int at) const {
        if (at == 0 || at == sideSteps_) {
            const int corner = at == 0 ? side : (side + 1) % patch.cornerCount;
            return {CornerPoint(object_, patch, corner), kCorner, 0};
        }
        const bool forward = patch.forward[static_cast<std::size_t>(side)];
        return {SegmentOf(patch, side), kSegment, forward ? at : sideSteps_ - at};
    }

    // The sample at step `at` of the border between triangle nets `border` and border + 1,
    // counted from the midpoint of side `border` to the centre.
    SharedSample InnerSample(std::int32_t patchIndex, int border, int at, int steps) const {
        if (at == 0) {
            return SideSample(object_.Patches()[static_cast<std::size_t>(patchIndex)], border,
                              steps);
        }
        if (at == steps) {
            return {patchIndex, kCentre, 0};
        }
        return {patchIndex, kInnerBorder + border, at};
    }

    // Where grid point (u, v) of a net lies on the patch's border or a triangle's inner border;
    // nothing inside. A quad's net runs along side 0 at v = 0, side 1 at u = steps, side 2 at
    // v = steps and side 3 at u = 0. Triangle net k holds the first half of side k at v = 0 and
    // the second half of side k - 1 at u = 0, backwards.
    std::optional<SharedSample> Shared(std::int32_t patchIndex, int net, int u, int v,
                                       int steps) const {
        const Patch& patch = object_.Patches()[static_cast<std::size_t>(patchIndex)];
        if (patch.cornerCount == 4) {
            if (v == 0) {
                return SideSample(patch, 0, u);
            }
            if (u == steps) {
                return SideSample(patch, 1, v);
            }
            if (v == steps) {
                return SideSample(patch, 2, steps - u);
            }
            if (u == 0) {
                return SideSample(patch, 3, steps - v);
            }
            return std::nullopt;
        }
        const int previous = (net + 2) % 3;
        if (v == 0) {
            return SideSample(patch, net, u);
        }
        if (u == 0) {
            return SideSample(patch, previous, sideSteps_ - v);
        }
        if (u == steps) {
            return InnerSample(patchIndex, net, v, steps);
        }
        if (v == steps) {
            return InnerSample(patchIndex, previous, u, steps);
        }
        return std::nullopt;
    }

    std::uint32_t Vertex(const std::optional<SharedSample>& shared, const SurfaceSample& sample,
                         bool turned) {
        const Vec3 normal =
            turned ? Vec3{-sample.normal.x, -sample.normal.y, -sample.normal.z} : sample.normal;
        const auto next = static_cast<std::uint32_t>(mesh_.positions.size());
        if (shared) {
            const auto [found, added] = welded_.try_emplace(*shared, next);
            if (!added) {
                const std::uint32_t i = found->second;
                Vec3& sum = mesh_.normals[i];
                sum = Vec3{sum.x + normal.x, sum.y + normal.y, sum.z + normal.z};
                ++reach_[i];
                return i;
            }
        }
        mesh_.positions.push_back(sample.position);
        mesh_.normals.push_back(normal);
        reach_.push_back(1);
        return next;
    }

    void AddTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
        if (a != b && b != c && c != a) {
            mesh_.triangles.insert(mesh_.triangles.end(), {a, b, c});
        }
    }

    const PatchObject& object_;
    SurfaceMesh& mesh_;
    const int resolution_;
    const int sideSteps_;
    const CurveFields* fields_;
    std::array<BezierNet, 3> nets_;
    std::array<std::vector<SurfaceSample>, 3> smoothGrids_;
    std::vector<SurfaceSample> grid_;
    std::vector<std::uint32_t> index_;
    std::vector<std::uint32_t> reach_;  // how many nets reached each vertex
    std::unordered_map<SharedSample, std::uint32_t, SharedSampleHash> welded_;
};

bool IsFinite(const Vec3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// Takes out the vertices whose positions are not finite and the triangles that use them, keeping
// the order of the rest.
void LeaveOutNonFinite(SurfaceMesh& mesh) {
    if (std::all_of(mesh.positions.begin(), mesh.positions.end(), IsFinite)) {
        return;
    }
    constexpr std::uint32_t kLeftOut = ~std::uint32_t{0};
    std::vector<std::uint32_t> kept(mesh.positions.size(), kLeftOut);
    std::uint32_t count = 0;
    for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
        if (IsFinite(mesh.positions[i])) {
            mesh.positions[count] = mesh.positions[i];
            mesh.normals[count] = mesh.normals[i];
            kept[i] = count++;
        }
    }
    mesh.positions.resize(count);
    mesh.normals.resize(count);
    std::size_t triangles = 0;
    for (std::size_t t = 0; t < mesh.triangles.size(); t += 3) {
        const std::uint32_t a = kept[mesh.triangles[t]];
        const std::uint32_t b = kept[mesh.triangles[t + 1]];
        const std::uint32_t c = kept[mesh.triangles[t + 2]];
        if (a != kLeftOut && b != kLeftOut && c != kLeftOut) {
            mesh.triangles[triangles++] = a;
            mesh.triangles[triangles++] = b;
            mesh.triangles[triangles++] = c;
        }
    }
    mesh.triangles.resize(triangles);
}

}  // namespace

SurfaceMesh BuildSurfaceMesh(const PatchObject& object, std::int32_t surfaceResolution,
                             bool smoothSurfaces) {
    const std::vector<std::int32_t> patches = SurfacePatches(object);
    const std::vector<bool> turned = TurnedPatches(object, patches);
    std::optional<CurveFields> fields;
    if (smoothSurfaces) {
        fields = ComputeCurveFields(object);
    }
    SurfaceMesh mesh;
    MeshBuilder builder(object, mesh, surfaceResolution, fields ? &*fields : nullptr);
    for (std::size_t p = 0; p < patches.size(); ++p) {
        builder.AddPatch(patches[p], turned[p]);
    }
    builder.Finish();
    LeaveOutNonFinite(mesh);
    return mesh;
}

}  // namespace korvane
