#!/usr/bin/env bash
# Installs what is needed, builds everything in ./build and runs all tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/deps.sh

source tools/test-env.sh

cmake -S . -B build -G Ninja
cmake --build build -j"${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
ctest --test-dir build --output-on-failure
