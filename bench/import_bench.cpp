// File reading and import: the from_chars floor, then each reader up to finished patch objects.

#include <benchmark/benchmark.h>

#include <charconv>
#include <string>

#include "bench/bench_models.h"
#include "bench/bench_sizes.h"
#include "import/file_bytes.h"

namespace korvane::bench {
namespace {

// Every number of a text model, read as a float: the least any reader of the file has to do.
double ParseEveryNumber(std::string_view text) {
    double sum = 0.0;
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    while (at < end) {
        const char c = *at;
        if ((c >= '0' && c <= '9') || c == '-') {
            float value = 0.0f;
            const auto result = std::from_chars(at, end, value);
            if (result.ptr != at) {
                sum += value;
                at = result.ptr;
                continue;
            }
        }
        ++at;
    }
    return sum;
}

void BM_ReadAndParseNumbers(benchmark::State& state) {
    const std::string path = ModelFile(Shape::kTorus, state.range(0), Format::kMqoText);
    for (auto _ : state) {
        std::string bytes;
        ReadFileBytes(path, bytes);
        benchmark::DoNotOptimize(ParseEveryNumber(bytes));
    }
}
BENCHMARK(BM_ReadAndParseNumbers)->Apply(AtBenchmarkSizes);

void BM_Import(benchmark::State& state, Shape shape, Format format) {
    const std::string path = ModelFile(shape, state.range(0), format);
    for (auto _ : state) {
        auto store = ImportModel(path);
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_Import, torus_mqo, Shape::kTorus, Format::kMqoText)->Apply(AtBenchmarkSizes);
BENCHMARK_CAPTURE(BM_Import, torus_bvertex, Shape::kTorus, Format::kMqoBinary)
    ->Apply(AtBenchmarkSizes);
BENCHMARK_CAPTURE(BM_Import, torus_lwo, Shape::kTorus, Format::kLwo2)->Apply(AtBenchmarkSizes);
BENCHMARK_CAPTURE(BM_Import, sphere_mqo, Shape::kSphere, Format::kMqoText)->Apply(AtBenchmarkSizes);
BENCHMARK_CAPTURE(BM_Import, soup_mqo, Shape::kSoup, Format::kMqoText)->Apply(AtBenchmarkSizes);

}  // namespace
}  // namespace korvane::bench

BENCHMARK_MAIN();
