// A one-frame render with surfaces at resolution 8, as korvane-cli render --surfaces
// --resolution 8 draws it, of spheres of 30,000 and 90,000 quads (300 x 300) in Mesa's software
// renderer: the surfaces streamed a piece at a time against the display list of immediate-mode
// strips that drew them before. Each frame runs in a child process of its own, so that the peak
// memory the kernel counts is that frame's alone.

#include <GL/gl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_models.h"
#include "patch/bezier_net.h"
#include "patch/patch_builder.h"
#include "patch/surface_sampling.h"
#include "view/colour.h"
#include "view/offscreen_canvas.h"
#include "view/offscreen_renderer.h"
#include "view/scene_drawer.h"

namespace korvane::bench {
namespace {

constexpr int kResolution = 8;
constexpr int kWidth = 640;
constexpr int kHeight = 480;

ObjectStore& Sphere(std::int64_t quads) {
    static std::map<std::int64_t, std::unique_ptr<ObjectStore>> stores;
    std::unique_ptr<ObjectStore>& store = stores[quads];
    if (!store) {
        store = ImportModel(ModelFile(Shape::kSphere, quads, Format::kMqoText));
        for (PatchObject* object : store->objects) {
            DetectPatches(*object);
        }
    }
    return *store;
}

OffscreenRenderOptions Options() {
    OffscreenRenderOptions options;
    options.width = kWidth;
    options.height = kHeight;
    options.display.showSurfaces = true;
    options.display.curveResolution = kResolution;
    options.display.surfaceResolution = kResolution;
    options.camera.eye = Vec3{0.0f, 300.0f, -900.0f};
    return options;
}

bool RenderStreamed(const ObjectStore& store) {
    RgbaImage image;
    std::string error;
    return RenderOffscreen(store.objects, Options(), image, error);
}

// The drawing before surfaces had buffers: every net's grid as immediate-mode strips compiled
// into a display list, then replayed, after the frame's curves.
bool RenderDisplayList(const ObjectStore& store) {
    OffscreenCanvas canvas;
    std::string error;
    if (!canvas.Open(kWidth, kHeight, error)) {
        return false;
    }
    const OffscreenRenderOptions options = Options();
    SceneFrame frame;
    frame.objects = &store.objects;
    frame.display = options.display;
    frame.display.showSurfaces = false;
    frame.camera = options.camera;
    frame.width = kWidth;
    frame.height = kHeight;
    DrawCache cache;
    DrawFrame(frame, cache);
    glEnable(GL_LIGHTING);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 1.0f);
    glFrontFace(GL_CW);
    std::vector<SurfaceSample> grid;
    std::array<BezierNet, 3> nets;
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    for (const PatchObject* object : store.objects) {
        for (const Patch& patch : object->Patches()) {
            const int count = SurfaceNets(*object, patch, nets);
            const int steps = SurfaceNetSteps(count, kResolution);
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
    }
    glEndList();
    glCallList(list);
    glFinish();
    RgbaImage image;
    canvas.Read(image);
    glDeleteLists(list, 1);
    cache.Clear();
    return true;
}

void BM_RenderSurfaces(benchmark::State& state, bool (*render)(const ObjectStore&)) {
    const ObjectStore& store = Sphere(state.range(0));
    double peak = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0) {
            _exit(render(store) ? 0 : 1);
        }
        int status = 0;
        rusage usage{};
        if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0) {
            state.SkipWithError("the frame could not be drawn");
            return;
        }
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        peak = static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
    }
    state.counters["peak_MB"] = peak;
}
BENCHMARK_CAPTURE(BM_RenderSurfaces, streamed, RenderStreamed)
    ->Arg(30'000)
    ->Arg(90'000)
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_RenderSurfaces, display_list, RenderDisplayList)
    ->Arg(30'000)
    ->Arg(90'000)
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

}  // namespace
}  // namespace korvane::bench

BENCHMARK_MAIN();
