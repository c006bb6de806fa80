#!/usr/bin/env bash
# Builds everything but the benchmarks in ./build-asan under AddressSanitizer
# and UndefinedBehaviorSanitizer and runs the whole test suite there. The
# first fault ends the program that made it, and so fails its test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 LANG=C.UTF-8 VELMORA_SOUND=off
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -w "${XDG_RUNTIME_DIR}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR
fi
export XDG_CONFIG_HOME=$(mktemp -d)
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/tools/lsan.supp:print_suppressions=0

jobs=${VELMORA_JOBS:-2}
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_BENCH=OFF
cmake --build build-asan -j"$jobs"
# The crash test kills its children at every write on purpose; under the
# sanitizers it would only be slower, and it runs in the normal suite.
ctest --test-dir build-asan -j"$jobs" -LE crash --output-on-failure
