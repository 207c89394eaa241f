// Files read through assimp: the helper process (assimp's parse, the weld, the pipe), the core's
// side (checking the hand-back and building the objects), both together, the weld alone on the
// corners of every quad as assimp splits them, and for comparison assimp's own command-line import
// of the same file (assimp info FILE -r, from assimp-utils).

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "bench/bench_models.h"
#include "bench/bench_sizes.h"
#include "document/object_store.h"
#include "import/assimp_import.h"
#include "import/assimp_process.h"
#include "import/assimp_weld.h"

extern char** environ;

namespace korvane::bench {
namespace {

constexpr std::chrono::milliseconds kNoTimeout{600'000};
constexpr std::size_t kNoOutputLimit = std::size_t{1} << 40;

std::string TorusObj(benchmark::State& state) {
    return ModelFile(Shape::kTorus, state.range(0), Format::kObj);
}

void BM_AssimpHelper(benchmark::State& state) {
    const std::string path = TorusObj(state);
    for (auto _ : state) {
        const HelperRun run =
            RunHelper(FindAssimpHelper(), {"--", path}, kNoTimeout, kNoOutputLimit);
        if (run.end != HelperRun::End::kExited || run.exitCode != 0) {
            state.SkipWithError("the helper failed");
            break;
        }
        state.counters["handback_MB"] = static_cast<double>(run.output.size()) / (1 << 20);
    }
}
BENCHMARK(BM_AssimpHelper)->Apply(AtBenchmarkSizes);

void BM_ImportHandBack(benchmark::State& state) {
    const HelperRun run =
        RunHelper(FindAssimpHelper(), {"--", TorusObj(state)}, kNoTimeout, kNoOutputLimit);
    for (auto _ : state) {
        auto store = std::make_unique<ObjectStore>();
        if (ImportHandBack(run.output, "torus", 1.0f, *store).status != ImportStatus::kImported) {
            state.SkipWithError("the hand-back was refused");
            break;
        }
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportHandBack)->Apply(AtBenchmarkSizes);

void BM_ImportThroughAssimp(benchmark::State& state) {
    const std::string path = TorusObj(state);
    for (auto _ : state) {
        auto store = std::make_unique<ObjectStore>();
        if (ImportThroughAssimp(path, *store).status != ImportStatus::kImported) {
            state.SkipWithError("the import failed");
            break;
        }
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportThroughAssimp)->Apply(AtBenchmarkSizes);

// Every quad's own four corners, as assimp hands an OBJ over: four times the welded vertices.
void BM_WeldSplitQuads(benchmark::State& state) {
    const modelgen::GeneratedModel model = MakeModel(Shape::kTorus, state.range(0));
    std::vector<float> xyz;
    xyz.reserve(3 * model.corners.size());
    for (const std::int32_t corner : model.corners) {
        const Vec3& p = model.positions[static_cast<std::size_t>(corner)];
        xyz.insert(xyz.end(), {p.x, p.y, p.z});
    }
    std::vector<float> welded;
    std::vector<std::uint32_t> remap;
    for (auto _ : state) {
        WeldPositions(xyz, welded, remap);
        benchmark::DoNotOptimize(welded.data());
    }
    state.counters["welded"] = static_cast<double>(welded.size() / 3);
}
BENCHMARK(BM_WeldSplitQuads)->Apply(AtBenchmarkSizes);

// The baseline: assimp reading the same file in its own program, no post-processing.
void BM_AssimpInfoRaw(benchmark::State& state) {
    std::string assimp;
    for (const char* folder : {"/usr/bin", "/usr/local/bin"}) {
        if (::access((std::string(folder) + "/assimp").c_str(), X_OK) == 0) {
            assimp = std::string(folder) + "/assimp";
        }
    }
    if (assimp.empty()) {
        state.SkipWithError("assimp is not installed (apt-get install assimp-utils)");
        return;
    }
    const std::string path = TorusObj(state);
    const HelperRun warm = RunHelper(assimp, {"info", path, "-r"}, kNoTimeout, kNoOutputLimit);
    for (auto _ : state) {
        const HelperRun run = RunHelper(assimp, {"info", path, "-r"}, kNoTimeout, kNoOutputLimit);
        if (run.end != HelperRun::End::kExited || run.exitCode != 0 || warm.exitCode != 0) {
            state.SkipWithError("assimp info failed");
            break;
        }
    }
}
BENCHMARK(BM_AssimpInfoRaw)->Apply(AtBenchmarkSizes);

}  // namespace
}  // namespace korvane::bench

BENCHMARK_MAIN();
