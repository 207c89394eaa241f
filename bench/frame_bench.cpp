// Frame time of orbiting a model of 100,000 quad patches (a torus, its curves joined at 150
// degrees) in Mesa's software renderer, the one the desktop view gets under Xvfb: every
// iteration turns the camera by two degrees and draws one whole 800 x 600 frame, with curves and
// with surfaces, once replaying the view's cached lists and once building them again each frame
// (the drawing before the cache). Then the million-quad torus with surfaces: the frames the view
// draws while the camera is dragged (the surfaces' stand-in) and once it stands still (surfaces
// from their buffers, at once and a part a paint), against the display list of immediate-mode
// strips that drew them before, and the upload of the sampled surfaces.

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_models.h"
#include "document/object_store.h"
#include "patch/bezier_net.h"
#include "patch/curve_connector.h"
#include "patch/patch_builder.h"
#include "patch/surface_sampling.h"
#include "view/camera_navigation.h"
#include "view/offscreen_canvas.h"
#include "view/scene_drawer.h"
#include "view/surface_mesh.h"

namespace korvane::bench {
namespace {

constexpr std::int64_t kPatches = 100'000;
constexpr int kWidth = 800;
constexpr int kHeight = 600;

ObjectStore& ConnectedTorus(std::int64_t patches = kPatches) {
    static std::map<std::int64_t, std::unique_ptr<ObjectStore>> stores;
    std::unique_ptr<ObjectStore>& store = stores[patches];
    if (store) {
        return *store;
    }
    store = [patches] {
        auto connected = ImportModel(ModelFile(Shape::kTorus, patches, Format::kMqoText));
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
    state.counters["patches"] = static_cast<double>(store.objects.GetHead()->Patches().size());
}
// Each runs for three seconds of frames after the lists are made.
void ForSeconds(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
}
BENCHMARK_CAPTURE(BM_OrbitFrame, curves, Layers::kCurves, true)->Apply(ForSeconds);
BENCHMARK_CAPTURE(BM_OrbitFrame, surfaces, Layers::kSurfaces, true)->Apply(ForSeconds);
BENCHMARK_CAPTURE(BM_OrbitFrame, curves_uncached, Layers::kCurves, false)->Apply(ForSeconds);
BENCHMARK_CAPTURE(BM_OrbitFrame, surfaces_uncached, Layers::kSurfaces, false)->Apply(ForSeconds);

enum class BigFrame { kMoving, kStill, kDisplayList };

// The drawing before surfaces had buffers: the object's nets as immediate-mode strips, compiled
// into a display list.
GLuint CompileStripList(const PatchObject& object) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    std::vector<SurfaceSample> grid;
    std::array<BezierNet, 3> nets;
    for (const Patch& patch : object.Patches()) {
        const int count = SurfaceNets(object, patch, nets);
        const int steps = SurfaceNetSteps(count, 1);
        for (int k = 0; k < count; ++k) {
            SampleNetGrid(nets[static_cast<std::size_t>(k)], steps, grid);
            for (int v = 0; v < steps; ++v) {
                glBegin(GL_TRIANGLE_STRIP);
                for (int u = 0; u <= steps; ++u) {
                    for (int row : {v, v + 1}) {
                        const SurfaceSample& s =
                            grid[static_cast<std::size_t>(u + (steps + 1) * row)];
                        glNormal3f(s.normal.x, s.normal.y, s.normal.z);
                        glVertex3f(s.position.x, s.position.y, s.position.z);
                    }
                }
                glEnd();
            }
        }
    }
    glEndList();
    return list;
}

// The million-quad torus at 800 x 600, seen from above at a slant.
SceneFrame MillionQuadFrame(ObjectStore& store, bool surfaces) {
    SceneFrame frame;
    frame.objects = &store.objects;
    frame.width = kWidth;
    frame.height = kHeight;
    frame.display.showSurfaces = surfaces;
    frame.camera.eye = Vec3{0.0f, 600.0f, -1100.0f};
    return frame;
}

void BM_MillionQuadFrame(benchmark::State& state, BigFrame kind) {
    ObjectStore& store = ConnectedTorus(1'000'000);
    OffscreenCanvas canvas;
    std::string error;
    if (!canvas.Open(kWidth, kHeight, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    SceneFrame frame = MillionQuadFrame(store, kind != BigFrame::kDisplayList);
    frame.moving = kind == BigFrame::kMoving;
    DrawCache cache;
    GLuint list = 0;
    if (kind == BigFrame::kDisplayList) {
        list = CompileStripList(*store.objects.GetHead());
    }
    DrawFrame(frame, cache);
    glFinish();
    for (auto _ : state) {
        OrbitCamera(frame.camera, 2, 0);
        DrawFrame(frame, cache);
        if (list != 0) {
            glEnable(GL_LIGHTING);
            glCallList(list);
            glDisable(GL_LIGHTING);
        }
        glFinish();
    }
    if (list != 0) {
        glDeleteLists(list, 1);
    }
    cache.Clear();
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
// One paint of the still frame as the view draws it, a part a paint (the parts of one frame
// drawn in turn, then the camera turns), with surfaces and with curves alone: no paint may keep
// the view from its events for long.
void BM_MillionQuadFramePart(benchmark::State& state, bool surfaces) {
    ObjectStore& store = ConnectedTorus(1'000'000);
    OffscreenCanvas canvas;
    std::string error;
    if (!canvas.Open(kWidth, kHeight, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    SceneFrame frame = MillionQuadFrame(store, surfaces);
    frame.partSize = state.range(0);
    DrawCache cache;
    while (!DrawFrame(frame, cache)) {
        ++frame.part;
    }
    frame.part = 0;
    glFinish();
    // For reference, the same frame drawn at once from the same cache.
    frame.partSize = 0;
    DrawFrame(frame, cache);
    glFinish();
    const auto wholeStart = std::chrono::steady_clock::now();
    DrawFrame(frame, cache);
    glFinish();
    state.counters["whole_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wholeStart)
            .count();
    frame.partSize = state.range(0);
    while (!DrawFrame(frame, cache)) {
        ++frame.part;
    }
    frame.part = 0;
    glFinish();
    std::int64_t frames = 0;
    double longest = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (DrawFrame(frame, cache)) {
            frame.part = 0;
            ++frames;
            OrbitCamera(frame.camera, 2, 0);
        } else {
            ++frame.part;
        }
        glFinish();
        longest = std::max(longest, std::chrono::duration<double, std::milli>(
                                        std::chrono::steady_clock::now() - start)
                                        .count());
    }
    cache.Clear();
    state.counters["frames"] = static_cast<double>(frames);
    state.counters["longest_ms"] = longest;
}
BENCHMARK_CAPTURE(BM_MillionQuadFramePart, surfaces, true)->Arg(300'000)->Apply(ForSeconds);
BENCHMARK_CAPTURE(BM_MillionQuadFramePart, curves, false)->Arg(300'000)->Apply(ForSeconds);

// Handing the sampled surfaces of the million quads to OpenGL as the view does once the builder
// is done, a 32 MB piece an event-loop turn: one piece an iteration, and all at once for
// comparison.
void BM_MillionQuadUpload(benchmark::State& state) {
    ObjectStore& store = ConnectedTorus(1'000'000);
    OffscreenCanvas canvas;
    std::string error;
    if (!canvas.Open(kWidth, kHeight, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const PatchObject& torus = *store.objects.GetHead();
    SurfaceMesh mesh = NetSurfaceMesh(torus, 1);
    AddStandIn(mesh);
    DrawCache cache;
    const std::size_t piece =
        state.range(0) > 0 ? static_cast<std::size_t>(state.range(0)) << 20 : SIZE_MAX;
    for (auto _ : state) {
        cache.StoreSurfacesPiece(torus, DrawLayer::kSurfaces, 1, mesh, piece);
        glFinish();
    }
    cache.Clear();
}
BENCHMARK(BM_MillionQuadUpload)
    ->Arg(32)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

BENCHMARK_CAPTURE(BM_MillionQuadFrame, moving, BigFrame::kMoving)->Apply(ForSeconds);
BENCHMARK_CAPTURE(BM_MillionQuadFrame, still, BigFrame::kStill)->Apply(ForSeconds);
BENCHMARK_CAPTURE(BM_MillionQuadFrame, display_list, BigFrame::kDisplayList)->Apply(ForSeconds);

}  // namespace
}  // namespace korvane::bench

BENCHMARK_MAIN();
