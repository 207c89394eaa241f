// The patch network stages after import: Connect Curve, how soon a cancel of it answers, handles,
// patch detection, the surface nets of every patch, and the exports to .rvp, .mdl and .spt.

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <memory>
#include <string>

#include "bench/bench_models.h"
#include "bench/bench_sizes.h"
#include "document/document.h"
#include "document/object_store.h"
#include "export/animation_master_writer.h"
#include "export/rvp_writer.h"
#include "export/spatch_writer.h"
#include "patch/bezier_net.h"
#include "patch/curve_connector.h"
#include "patch/patch_builder.h"

namespace korvane::bench {
namespace {

constexpr float kConnectDegrees = 150.0f;

// The command-line tool passes a receiver that draws nothing unless standard error is a
// terminal; the texts are made all the same.
void IgnoreProgress(std::int32_t) {}

PatchObject& OnlyObject(ObjectStore& store) {
    return *store.objects.GetHead();
}

std::unique_ptr<ObjectStore> Connected(Shape shape, std::int64_t faces) {
    auto store = ImportModel(ModelFile(shape, faces, Format::kMqoText));
    for (PatchObject* object : store->objects) {
        ConnectCurves(*object, kConnectDegrees, IgnoreProgress);
        ComputeHandles(*object);
    }
    return store;
}

void BM_ConnectCurves(benchmark::State& state, Shape shape, float limitDegrees) {
    for (auto _ : state) {
        state.PauseTiming();
        auto store = ImportModel(ModelFile(shape, state.range(0), Format::kMqoText));
        state.ResumeTiming();
        ConnectCurves(OnlyObject(*store), limitDegrees, IgnoreProgress);
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_ConnectCurves, torus, Shape::kTorus, kConnectDegrees)->Apply(AtBenchmarkSizes);
BENCHMARK_CAPTURE(BM_ConnectCurves, sphere, Shape::kSphere, kConnectDegrees)
    ->Apply(AtBenchmarkSizes);
BENCHMARK_CAPTURE(BM_ConnectCurves, soup, Shape::kSoup, kConnectDegrees)->Apply(AtBenchmarkSizes);
// Thousands of ends at one point, nearly every pair joinable: each join takes the widest pair left.
BENCHMARK_CAPTURE(BM_ConnectCurves, fan, Shape::kFan, 1.0f)
    ->Arg(3'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
// Every curve of the model meets at one point, where half of them join at 150 degrees.
BENCHMARK_CAPTURE(BM_ConnectCurves, fan150, Shape::kFan, kConnectDegrees)->Apply(AtFanSizes);

// Connect Curve as the desktop runs it, on the document with patches found at once, cancelled
// halfway through the joins, and again as the patch search the cancel leaves starts. Counters:
// answer_ms from the first cancel until the patch search begins (the joins stopped, the joined
// curves written back, the handles computed), search_ms from the second cancel until Connect
// returns, whole_ms an uncancelled Connect of the same model in the same run, for reference.
void BM_ConnectCancel(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const auto milliseconds = [](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    };
    const std::string path = ModelFile(Shape::kTorus, state.range(0), Format::kMqoText);
    for (auto _ : state) {
        state.PauseTiming();
        auto whole = std::make_unique<Document>();
        whole->Import(path, {});
        const Clock::time_point wholeStart = Clock::now();
        whole->Connect(kConnectDegrees, {}, {});
        const double wholeMs = milliseconds(Clock::now() - wholeStart);
        whole.reset();

        auto document = std::make_unique<Document>();
        document->Import(path, {});
        state.ResumeTiming();
        bool stopJoins = false;
        bool stopSearch = false;
        Clock::time_point cancelledAt;
        Clock::time_point searchStart;
        document->Connect(
            kConnectDegrees,
            [&](const ConnectProgress& progress) {
                if (progress.step == ConnectStep::kJoining && !stopJoins &&
                    progress.done > progress.total / 2) {
                    stopJoins = true;
                    cancelledAt = Clock::now();
                } else if (progress.step == ConnectStep::kFindingPatches && !stopSearch) {
                    stopSearch = true;
                    searchStart = Clock::now();
                }
            },
            [&](ConnectStep step) {
                return step == ConnectStep::kJoining ? stopJoins : stopSearch;
            });
        const Clock::time_point end = Clock::now();
        state.PauseTiming();
        state.counters["answer_ms"] = milliseconds(searchStart - cancelledAt);
        state.counters["search_ms"] = milliseconds(end - searchStart);
        state.counters["whole_ms"] = wholeMs;
        document.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ConnectCancel)->Apply(AtBenchmarkSizes);

void BM_ComputeHandles(benchmark::State& state) {
    auto store = Connected(Shape::kTorus, state.range(0));
    for (auto _ : state) {
        ComputeHandles(OnlyObject(*store));
    }
}
BENCHMARK(BM_ComputeHandles)->Apply(AtBenchmarkSizes);

void BM_DetectPatches(benchmark::State& state, Shape shape) {
    auto store = Connected(shape, state.range(0));
    for (auto _ : state) {
        DetectPatches(OnlyObject(*store));
        benchmark::DoNotOptimize(OnlyObject(*store).Patches().size());
    }
}
BENCHMARK_CAPTURE(BM_DetectPatches, torus, Shape::kTorus)->Apply(AtBenchmarkSizes);
BENCHMARK_CAPTURE(BM_DetectPatches, sphere, Shape::kSphere)->Apply(AtBenchmarkSizes);
BENCHMARK_CAPTURE(BM_DetectPatches, soup, Shape::kSoup)->Apply(AtBenchmarkSizes);
BENCHMARK_CAPTURE(BM_DetectPatches, fan, Shape::kFan)->Apply(AtFanSizes);

void BM_AllNets(benchmark::State& state, Shape shape) {
    auto store = Connected(shape, state.range(0));
    PatchObject& object = OnlyObject(*store);
    DetectPatches(object);
    for (auto _ : state) {
        float sum = 0.0f;
        BezierNet quad;
        std::array<BezierNet, 3> triangle;
        for (const Patch& patch : object.Patches()) {
            if (patch.cornerCount == 4) {
                QuadNet(object, patch, quad);
                sum += quad.values[15];
            } else {
                TriangleNets(object, patch, triangle);
                sum += triangle[0].values[15];
            }
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK_CAPTURE(BM_AllNets, torus, Shape::kTorus)->Apply(AtBenchmarkSizes);
BENCHMARK_CAPTURE(BM_AllNets, sphere, Shape::kSphere)->Apply(AtBenchmarkSizes);

void BM_SerializeRvp(benchmark::State& state) {
    auto store = Connected(Shape::kTorus, state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(SerializeRvp(store->objects).size());
    }
}
BENCHMARK(BM_SerializeRvp)->Apply(AtBenchmarkSizes);

void BM_WriteRvpFile(benchmark::State& state) {
    auto store = Connected(Shape::kTorus, state.range(0));
    const std::string path = ScratchFile("export.rvp");
    for (auto _ : state) {
        if (WriteRvpFile(path, store->objects).status != WriteStatus::kWritten) {
            state.SkipWithError("cannot write the export");
        }
    }
}
BENCHMARK(BM_WriteRvpFile)->Apply(AtBenchmarkSizes);

// Patches are found beforehand, as the desktop program has them after Connect Curve.
void BM_SerializeAnimationMaster(benchmark::State& state) {
    auto store = Connected(Shape::kTorus, state.range(0));
    DetectPatches(OnlyObject(*store));
    for (auto _ : state) {
        benchmark::DoNotOptimize(SerializeAnimationMaster(store->objects).size());
    }
}
BENCHMARK(BM_SerializeAnimationMaster)->Apply(AtBenchmarkSizes);

void BM_SerializeSPatch(benchmark::State& state) {
    auto store = Connected(Shape::kTorus, state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(SerializeSPatch(store->objects).size());
    }
}
BENCHMARK(BM_SerializeSPatch)->Apply(AtBenchmarkSizes);

}  // namespace
}  // namespace korvane::bench

BENCHMARK_MAIN();
