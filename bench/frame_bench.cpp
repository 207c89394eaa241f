// Frame time of orbiting a model of 100,000 quad patches (a torus, its curves joined at 150
// degrees) in Mesa's software renderer, the one the desktop view gets under Xvfb: every
// iteration turns the camera by two degrees and draws one whole 800 x 600 frame, with curves and
// with surfaces, once replaying the view's cached lists and once building them again each frame
// (the drawing before the cache).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "bench/bench_models.h"
#include "document/object_store.h"
#include "patch/curve_connector.h"
#include "patch/patch_builder.h"
#include "view/camera_navigation.h"
#include "view/offscreen_canvas.h"
#include "view/scene_drawer.h"

namespace korvane::bench {
namespace {

constexpr std::int64_t kPatches = 100'000;
constexpr int kWidth = 800;
constexpr int kHeight = 600;

ObjectStore& ConnectedTorus() {
    static std::unique_ptr<ObjectStore> store = [] {
        auto connected = ImportModel(ModelFile(Shape::kTorus, kPatches, Format::kMqoText));
        for (PatchObject* object : connected->objects) {
            ConnectCurves(*object, 150.0f, [](std::int32_t) {});
            ComputeHandles(*object);
            DetectPatches(*object);
        }
        return connected;
    }();
    return *store;
}

enum class Layers { kCurves, kSurfaces };

void BM_OrbitFrame(benchmark::State& state, Layers layers, bool cached) {
    ObjectStore& store = ConnectedTorus();
    OffscreenCanvas canvas;
    std::string error;
    if (!canvas.Open(kWidth, kHeight, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    SceneFrame frame;
    frame.objects = &store.objects;
    frame.width = kWidth;
    frame.height = kHeight;
    frame.display.showSurfaces = layers == Layers::kSurfaces;
    // The whole torus (outer radius 400) in view, seen from above at an angle.
    frame.camera.eye = Vec3{0.0f, 600.0f, -1100.0f};
    DrawCache cache;
    DrawFrame(frame, cache);
    glFinish();
    for (auto _ : state) {
        if (!cached) {
            cache.Clear();
        }
        OrbitCamera(frame.camera, 2, 0);
        DrawFrame(frame, cache);
        glFinish();
    }
    cache.Clear();
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["patches"] = static_cast<double>(store.objects.GetHead()->patches.size());
}
// Each runs for three seconds of frames after the lists are made.
void ForSeconds(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
}
BENCHMARK_CAPTURE(BM_OrbitFrame, curves, Layers::kCurves, true)->Apply(ForSeconds);
BENCHMARK_CAPTURE(BM_OrbitFrame, surfaces, Layers::kSurfaces, true)->Apply(ForSeconds);
BENCHMARK_CAPTURE(BM_OrbitFrame, curves_uncached, Layers::kCurves, false)->Apply(ForSeconds);
BENCHMARK_CAPTURE(BM_OrbitFrame, surfaces_uncached, Layers::kSurfaces, false)->Apply(ForSeconds);

}  // namespace
}  // namespace korvane::bench

BENCHMARK_MAIN();
