#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in ./build-fuzz and runs each for a
# bounded time (seconds, default 60) from the seed corpus in fuzz/corpus/.
# New inputs collect in build-fuzz/corpus/, a failing input is kept in
# build-fuzz/findings/ and ends the script with exit code 1.
#   bash tools/fuzz.sh [SECONDS] [TARGET...]   (targets: dialect settings)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(dialect settings)

jobs=${VELMORA_JOBS:-2}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 -DVELMORA_FUZZ=ON -DVELMORA_TESTS=OFF -DVELMORA_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target $(printf 'velmora-fuzz-%s ' "${targets[@]}")

# The findings are stack traces with names; where a symbolizer is, use it.
symbolizer=$(command -v llvm-symbolizer-14 || command -v llvm-symbolizer || true)
if [ -n "$symbolizer" ]; then
  export ASAN_SYMBOLIZER_PATH=$symbolizer
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 LANG=C.UTF-8

status=0
summary=()
for t in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$t
  findings=build-fuzz/findings/$t
  mkdir -p "$corpus" "$findings"
  log=build-fuzz/fuzz-$t.log
  echo "fuzz: $t for ${seconds}s"
  set +e
  build-fuzz/bin/velmora-fuzz-$t -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "fuzz/corpus/$t" >"$log" 2>&1
  rc=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ "$rc" -ne 0 ]; then
    status=1
    echo "fuzz: $t FOUND A FAULT (exit $rc); input kept in $findings/, log $log:" >&2
    grep -v '^#' "$log" | tail -40 >&2
    summary+=("$t: ${runs:-?} runs, FAULT (see $findings/)")
  else
    summary+=("$t: ${runs:-?} runs in ${seconds}s, no finding, corpus $(ls "$corpus" | wc -l) inputs")
  fi
done
printf 'fuzz: %s\n' "${summary[@]}"
exit $status
