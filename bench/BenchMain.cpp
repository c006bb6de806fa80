#include <benchmark/benchmark.h>

// One entry point for every benchmark in this folder.
BENCHMARK_MAIN();
