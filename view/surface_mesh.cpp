#include "view/surface_mesh.h"

#include <algorithm>
#include <array>
#include <utility>

#include "patch/bezier_net.h"
#include "patch/smooth_tessellation.h"

namespace korvane {
namespace {

void AppendNet(const BezierNet& net, int steps, std::vector<SurfaceSample>& grid,
               SurfaceMesh& mesh) {
    SampleNetGrid(net, steps, grid);
    const auto base = static_cast<std::uint32_t>(mesh.samples.size());
    const auto row = static_cast<std::uint32_t>(steps + 1);
    mesh.samples.insert(mesh.samples.end(), grid.begin(), grid.end());
    // Each cell as the two triangles that the evaluator's strip along the row makes of it, with
    // their corners in the order the strip gives them: the same pixels as the strip.
    for (std::uint32_t v = 0; v + 1 < row; ++v) {
        for (std::uint32_t u = 0; u + 1 < row; ++u) {
            const std::uint32_t s0 = base + u + row * v;
            const std::uint32_t s1 = s0 + row;
            const std::uint32_t s2 = s0 + 1;
            const std::uint32_t s3 = s1 + 1;
            mesh.indices.insert(mesh.indices.end(), {s0, s1, s2});
            mesh.indices.insert(mesh.indices.end(), {s2, s1, s3});
        }
    }
    const std::uint32_t last = row - 1;
    const std::uint32_t c00 = base;
    const std::uint32_t c10 = base + last;
    const std::uint32_t c01 = base + row * last;
    const std::uint32_t c11 = c01 + last;
    mesh.coarse.insert(mesh.coarse.end(), {c00, c01, c10, c10, c01, c11});
}

// About a hundred thousand triangles for a closed surface: a few hundredths of a second.
constexpr int kStandInCells = 120;

}  // namespace

void SurfaceMesh::Clear() {
    samples.clear();
    indices.clear();
    coarse.clear();
    standIn = {};
}

void AddStandIn(SurfaceMesh& mesh) {
    if (mesh.samples.size() <= kMovingSurfaceSamples) {
        return;
    }
    mesh.standIn = ClusterTriangles(mesh.samples, mesh.coarse.empty() ? mesh.indices : mesh.coarse,
                                    kStandInCells);
}

void AppendNetSurfaces(const PatchObject& object, std::int32_t surfaceResolution, std::size_t first,
                       std::size_t end, SurfaceMesh& mesh) {
    std::vector<SurfaceSample> grid;
    std::array<BezierNet, 3> nets;
    for (std::size_t index = first; index < end && index < object.Patches().size(); ++index) {
        const int count = SurfaceNets(object, object.Patches()[index], nets);
        const int steps = SurfaceNetSteps(count, surfaceResolution);
        for (int k = 0; k < count; ++k) {
            AppendNet(nets[static_cast<std::size_t>(k)], steps, grid, mesh);
        }
    }
}

SurfaceMesh NetSurfaceMesh(const PatchObject& object, std::int32_t surfaceResolution,
                           const std::function<bool(std::size_t)>& keepGoing) {
    SurfaceMesh mesh;
    if (!object.PatchesValid()) {
        return mesh;
    }
    const std::size_t patches = object.Patches().size();
    const std::size_t side =
        2 * static_cast<std::size_t>(surfaceResolution < 1 ? 1 : surfaceResolution) + 1;
    // A few milliseconds of sampling between two questions.
    const std::size_t piece =
        keepGoing ? std::max<std::size_t>(1, 20'000 / (side * side)) : patches;
    for (std::size_t first = 0; first < patches; first += piece) {
        AppendNetSurfaces(object, surfaceResolution, first, first + piece, mesh);
        if (keepGoing && !keepGoing(std::min(first + piece, patches))) {
            break;
        }
    }
    return mesh;
}

std::size_t NetSurfaceSamples(const PatchObject& object, std::int32_t surfaceResolution) {
    const std::size_t side =
        2 * static_cast<std::size_t>(surfaceResolution < 1 ? 1 : surfaceResolution) + 1;
    return object.Patches().size() * side * side;
}

SurfaceMesh SmoothSurfaceMesh(const PatchObject& object, std::int32_t surfaceResolution) {
    SurfaceTessellation tessellation = TessellateSmoothSurfaces(object, surfaceResolution);
    SurfaceMesh mesh;
    mesh.samples = std::move(tessellation.samples);
    mesh.indices = std::move(tessellation.triangles);
    return mesh;
}

}  // namespace korvane
