// The surfaces of a model of 100,000 patches cut into samples and triangles at the view's surface
// resolution, today's nets against the smooth surfaces, in the same run: a torus of quads, and a
// noisy sheet of triangles, each patch of which is three pieces. The smooth figures include the
// curve fields, worked out once per object.

#include <benchmark/benchmark.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_models.h"
#include "patch/bezier_net.h"
#include "patch/curve_connector.h"
#include "patch/patch_builder.h"
#include "patch/smooth_tessellation.h"
#include "patch/surface_sampling.h"

namespace korvane::bench {
namespace {

constexpr std::int64_t kPatches = 100'000;

PatchObject& Connected(Shape shape) {
    static std::map<Shape, std::unique_ptr<ObjectStore>> stores;
    std::unique_ptr<ObjectStore>& store = stores[shape];
    if (!store) {
        store = ImportModel(ModelFile(shape, kPatches, Format::kMqoText));
        PatchObject& object = *store->objects.GetHead();
        ConnectCurves(object, 150.0f, [](std::int32_t) {});
        ComputeHandles(object);
        DetectPatches(object);
    }
    return *store->objects.GetHead();
}

// Today's nets sampled and cut into triangles as TessellateSmoothSurfaces cuts the smooth pieces.
SurfaceTessellation TessellateNets(const PatchObject& object, int resolution) {
    SurfaceTessellation result;
    std::size_t samples = 0;
    std::size_t cells = 0;
    for (const Patch& patch : object.Patches()) {
        const int pieces = patch.cornerCount == 4 ? 1 : patch.cornerCount == 3 ? 3 : 0;
        const auto steps = static_cast<std::size_t>(SurfaceNetSteps(pieces, resolution));
        samples += static_cast<std::size_t>(pieces) * (steps + 1) * (steps + 1);
        cells += static_cast<std::size_t>(pieces) * steps * steps;
    }
    result.samples.reserve(samples);
    result.triangles.reserve(6 * cells);
    std::array<BezierNet, 3> nets;
    std::vector<SurfaceSample> grid;
    for (const Patch& patch : object.Patches()) {
        const int count = SurfaceNets(object, patch, nets);
        const int steps = SurfaceNetSteps(count, resolution);
        const auto row = static_cast<std::uint32_t>(steps + 1);
        for (int k = 0; k < count; ++k) {
            SampleNetGrid(nets[static_cast<std::size_t>(k)], steps, grid);
            const auto first = static_cast<std::uint32_t>(result.samples.size());
            result.samples.insert(result.samples.end(), grid.begin(), grid.end());
            for (std::uint32_t v = 0; v + 1 < row; ++v) {
                for (std::uint32_t u = 0; u + 1 < row; ++u) {
                    const std::uint32_t a0 = first + u + row * v;
                    result.triangles.insert(result.triangles.end(),
                                            {a0, a0 + 1, a0 + row, a0 + 1, a0 + row + 1, a0 + row});
                }
            }
        }
    }
    return result;
}

enum class Surfaces { kNets, kSmooth };

void BM_Tessellate(benchmark::State& state, Shape shape, Surfaces surfaces, int resolution) {
    const PatchObject& object = Connected(shape);
    std::size_t triangles = 0;
    for (auto _ : state) {
        const SurfaceTessellation result = surfaces == Surfaces::kSmooth
                                               ? TessellateSmoothSurfaces(object, resolution)
                                               : TessellateNets(object, resolution);
        triangles = result.triangles.size() / 3;
        benchmark::DoNotOptimize(result.samples.data());
    }
    state.counters["patches"] = static_cast<double>(object.Patches().size());
    state.counters["triangles"] = static_cast<double>(triangles);
}

void Timed(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
}
BENCHMARK_CAPTURE(BM_Tessellate, torus_nets_r1, Shape::kTorus, Surfaces::kNets, 1)->Apply(Timed);
BENCHMARK_CAPTURE(BM_Tessellate, torus_smooth_r1, Shape::kTorus, Surfaces::kSmooth, 1)
    ->Apply(Timed);
BENCHMARK_CAPTURE(BM_Tessellate, torus_nets_r4, Shape::kTorus, Surfaces::kNets, 4)->Apply(Timed);
BENCHMARK_CAPTURE(BM_Tessellate, torus_smooth_r4, Shape::kTorus, Surfaces::kSmooth, 4)
    ->Apply(Timed);
BENCHMARK_CAPTURE(BM_Tessellate, soup_nets_r1, Shape::kSoup, Surfaces::kNets, 1)->Apply(Timed);
BENCHMARK_CAPTURE(BM_Tessellate, soup_smooth_r1, Shape::kSoup, Surfaces::kSmooth, 1)->Apply(Timed);

}  // namespace
}  // namespace korvane::bench

BENCHMARK_MAIN();
