// Whole conversions as separate processes: wall time, and peak memory as the kernel counts it.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_models.h"
#include "bench/bench_sizes.h"
#include "bench/child_process.h"
#include "tests/support/zip_archive.h"

namespace korvane::bench {
namespace {

// Runs the program as often as the benchmark asks; it must end with `exitStatus` every time.
void TimeProcess(benchmark::State& state, const std::vector<std::string>& arguments,
                 int exitStatus = 0) {
    for (auto _ : state) {
        const ChildRun run = RunToEnd(arguments);
        if (run.exitStatus != exitStatus) {
            state.SkipWithError("the run ended with another exit status");
            break;
        }
        state.counters["peak_MB"] = run.peakMegabytes;
        state.counters["cpu_s"] = run.cpuSeconds;
    }
}

void BM_CliConvert(benchmark::State& state, Format format) {
    const std::string model = ModelFile(Shape::kTorus, state.range(0), format);
    TimeProcess(state, {KORVANE_CLI_PATH, "convert", model, "-o", ScratchFile("cli.rvp"),
                        "--connect", "150"});
}
BENCHMARK_CAPTURE(BM_CliConvert, torus_mqo, Format::kMqoText)->Apply(AtBenchmarkSizes);
BENCHMARK_CAPTURE(BM_CliConvert, torus_lwo, Format::kLwo2)->Apply(AtBenchmarkSizes);

// What a user waits for to see a model's counts, set against assimp's raw import of the same file.
void BM_CliInfo(benchmark::State& state) {
    const std::string model = ModelFile(Shape::kTorus, state.range(0), Format::kLwo2);
    TimeProcess(state, {KORVANE_CLI_PATH, "info", model});
}
BENCHMARK(BM_CliInfo)->Apply(AtBenchmarkSizes);

// A compressed Metasequoia file of two million empty members (176 MB), refused before libzip
// reads its directory, against an archive of the same size whose one member is no model, which
// is opened and found empty of models: what is left is reading the file.
void BM_CliRefusesArchive(benchmark::State& state, bool manyMembers) {
    constexpr std::uint32_t kMembers = 2'000'000;
    constexpr std::size_t kBytes = 176'000'000;
    const std::string path = ScratchFile(manyMembers ? "many-members.mqoz" : "one-member.mqoz");
    if (!std::filesystem::exists(path)) {
        const testing::ManyMembers layout =
            manyMembers
                ? testing::ManyMembers{.emptyMembers = kMembers - 1}
                : testing::ManyMembers{.model = std::string(kBytes, '\0'), .modelName = "a.bin"};
        std::ofstream(path, std::ios::binary) << testing::ArchiveOf(layout);
    }
    TimeProcess(state, {KORVANE_CLI_PATH, "info", path}, 2);
}
BENCHMARK_CAPTURE(BM_CliRefusesArchive, two_million_members, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_CliRefusesArchive, one_member_same_size, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// A fan of triangles round one point, its curves connected at 150 degrees: the counts with the
// patches, as text and as OBJ read through assimp, and the export.
void BM_CliInfoFan(benchmark::State& state, Format format) {
    const std::string model = ModelFile(Shape::kFan, state.range(0), format);
    TimeProcess(state, {KORVANE_CLI_PATH, "info", model, "--connect", "150"});
}
BENCHMARK_CAPTURE(BM_CliInfoFan, mqo, Format::kMqoText)->Apply(AtFanSizes);
BENCHMARK_CAPTURE(BM_CliInfoFan, obj, Format::kObj)->Apply(AtFanSizes);

void BM_CliConvertFan(benchmark::State& state) {
    const std::string model = ModelFile(Shape::kFan, state.range(0), Format::kMqoText);
    TimeProcess(state, {KORVANE_CLI_PATH, "convert", model, "-o", ScratchFile("fan.rvp"),
                        "--connect", "150"});
}
BENCHMARK(BM_CliConvertFan)->Apply(AtFanSizes);

// Import, Connect Curve at 150, handles, patch detection and export.
void BM_PipelineWithPatches(benchmark::State& state) {
    const std::string model = ModelFile(Shape::kTorus, state.range(0), Format::kMqoText);
    TimeProcess(state, {KORVANE_PIPELINE_PATH, model, ScratchFile("pipeline.rvp")});
}
BENCHMARK(BM_PipelineWithPatches)->Apply(AtBenchmarkSizes);

}  // namespace
}  // namespace korvane::bench

BENCHMARK_MAIN();
