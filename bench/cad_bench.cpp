// The STEP and IGES export as korvane-cli conversions, each a process of its own: wall time, CPU
// time, peak memory and the written file's size. The same conversion to a ruvoPatch file, measured
// in the same run, is the reference: what reading the model and building its network costs. The
// smooth surfaces (--smooth) are measured against today's surfaces of the same model and format.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_models.h"
#include "bench/child_process.h"

namespace korvane::bench {
namespace {

std::string TorusOf10000Quads() {
    return ModelFile(Shape::kTorus, 10'000, Format::kMqoText);
}
std::string Golem() {
    return KORVANE_CORPUS_DIR "/mqo/Golem.mqo";
}
std::string Miku() {
    return KORVANE_CORPUS_DIR "/mqo/miku.mqo";
}

void Convert(benchmark::State& state, std::string (*model)(), const char* extension, bool smooth) {
    const std::string input = model();
    if (!std::filesystem::exists(input)) {
        state.SkipWithError("the model is not here");
        return;
    }
    const std::string output = ScratchFile(std::string("cad.") + extension);
    for (auto _ : state) {
        std::vector<std::string> command = {KORVANE_CLI_PATH, "convert", input, "-o", output};
        if (smooth) {
            command.emplace_back("--smooth");
        }
        const ChildRun run = RunToEnd(command);
        if (run.exitStatus != 0) {
            state.SkipWithError("the conversion failed");
            break;
        }
        state.counters["peak_MB"] = run.peakMegabytes;
        state.counters["cpu_s"] = run.cpuSeconds;
        state.counters["file_MB"] =
            static_cast<double>(std::filesystem::file_size(output)) / (1024.0 * 1024.0);
    }
}

void BM_CadConvert(benchmark::State& state, std::string (*model)(), const char* extension) {
    Convert(state, model, extension, false);
}
void BM_SmoothConvert(benchmark::State& state, std::string (*model)(), const char* extension) {
    Convert(state, model, extension, true);
}

// One conversion per repetition; the repetitions give the median and the best.
void OncePerRepetition(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1)
        ->ComputeStatistics("min", [](const std::vector<double>& values) {
            return *std::min_element(values.begin(), values.end());
        });
}

BENCHMARK_CAPTURE(BM_CadConvert, torus10k_rvp, TorusOf10000Quads, "rvp")->Apply(OncePerRepetition);
BENCHMARK_CAPTURE(BM_CadConvert, torus10k_step, TorusOf10000Quads, "step")
    ->Apply(OncePerRepetition);
BENCHMARK_CAPTURE(BM_CadConvert, torus10k_igs, TorusOf10000Quads, "igs")->Apply(OncePerRepetition);
BENCHMARK_CAPTURE(BM_CadConvert, golem_rvp, Golem, "rvp")->Apply(OncePerRepetition);
BENCHMARK_CAPTURE(BM_CadConvert, golem_step, Golem, "step")->Apply(OncePerRepetition);
BENCHMARK_CAPTURE(BM_CadConvert, golem_igs, Golem, "igs")->Apply(OncePerRepetition);
BENCHMARK_CAPTURE(BM_CadConvert, miku_rvp, Miku, "rvp")->Apply(OncePerRepetition);
BENCHMARK_CAPTURE(BM_CadConvert, miku_step, Miku, "step")->Apply(OncePerRepetition);
BENCHMARK_CAPTURE(BM_CadConvert, miku_igs, Miku, "igs")->Apply(OncePerRepetition);
// The smooth surfaces, each after today's of the same model and format as its reference.
BENCHMARK_CAPTURE(BM_CadConvert, torus10k_obj, TorusOf10000Quads, "obj")->Apply(OncePerRepetition);
BENCHMARK_CAPTURE(BM_SmoothConvert, torus10k_obj, TorusOf10000Quads, "obj")
    ->Apply(OncePerRepetition);
BENCHMARK_CAPTURE(BM_SmoothConvert, torus10k_step, TorusOf10000Quads, "step")
    ->Apply(OncePerRepetition);
BENCHMARK_CAPTURE(BM_SmoothConvert, golem_step, Golem, "step")->Apply(OncePerRepetition);
BENCHMARK_CAPTURE(BM_SmoothConvert, miku_step, Miku, "step")->Apply(OncePerRepetition);

}  // namespace
}  // namespace korvane::bench

BENCHMARK_MAIN();
