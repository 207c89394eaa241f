#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace korvane::bench {

// Every stage runs at a quarter million and a million faces, so that growth shows as a ratio.
// One iteration per repetition: a run at these sizes takes long enough to time on its own, and
// the repetitions give the median and the best.
inline void AtBenchmarkSizes(benchmark::internal::Benchmark* b) {
    b->Arg(250'000)
        ->Arg(1'000'000)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1)
        ->ComputeStatistics("min", [](const std::vector<double>& values) {
            return *std::min_element(values.begin(), values.end());
        });
}

// A busy vertex: fans of 25, 50 and 100 thousand triangles round one point show the growth, and
// 20 thousand is the size at which the earlier code is timed against it.
inline void AtFanSizes(benchmark::internal::Benchmark* b) {
    b->Arg(20'000)
        ->Arg(25'000)
        ->Arg(50'000)
        ->Arg(100'000)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1)
        ->ComputeStatistics("min", [](const std::vector<double>& values) {
            return *std::min_element(values.begin(), values.end());
        });
}

}  // namespace korvane::bench
