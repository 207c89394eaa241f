// The lathe and the connected mirror through ApplyModifiers, on meshes as a reader leaves them.

#include <benchmark/benchmark.h>

#include "bench/bench_models.h"
#include "bench/bench_sizes.h"
#include "mesh/mesh_operations.h"

namespace korvane::bench {
namespace {

void BM_ApplyModifiers(benchmark::State& state, Shape shape) {
    const modelgen::GeneratedModel model = MakeModel(shape, state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        PolyMesh mesh;
        FillMesh(model, mesh);
        BuildEdges(mesh);
        BuildVertexFaceLists(mesh);
        state.ResumeTiming();
        ApplyModifiers(mesh);
        benchmark::DoNotOptimize(mesh.quads.count());
        state.PauseTiming();
        ClearGeometry(mesh);
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_ApplyModifiers, mirror_xy, Shape::kMirrorHalf)->Apply(AtBenchmarkSizes);
BENCHMARK_CAPTURE(BM_ApplyModifiers, lathe, Shape::kLathe)->Apply(AtBenchmarkSizes);

}  // namespace
}  // namespace korvane::bench

BENCHMARK_MAIN();
