#!/usr/bin/env bash
# Builds everything but the benchmarks in ./build-asan under AddressSanitizer
# and UndefinedBehaviorSanitizer and runs the whole test suite there. The
# first fault ends the program that made it, and so fails its test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

source tools/test-env.sh
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/tools/lsan.supp:print_suppressions=0

jobs=${VELMORA_JOBS:-2}
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_BENCH=OFF
cmake --build build-asan -j"$jobs"
# The crash test kills its children at every write on purpose; under the
# sanitizers it would only be slower, and it runs in the normal suite.
ctest --test-dir build-asan -j"$jobs" -LE crash --output-on-failure
