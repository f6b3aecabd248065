#pragma once
// The benchmarks' quick mode: with SONDREL_BENCH_QUICK set (as the test run
// sets it), every benchmark runs once and briefly, only to prove it still
// builds, runs and ends. Figures come from a run without it.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>

inline bool BenchQuick() {
    return std::getenv("SONDREL_BENCH_QUICK") != nullptr;
}

// A fixed iteration count, cut to at most two in quick mode.
inline benchmark::IterationCount BenchIterations(benchmark::IterationCount full) {
    return BenchQuick() ? std::min<benchmark::IterationCount>(full, 2) : full;
}
