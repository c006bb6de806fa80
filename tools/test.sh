#!/usr/bin/env bash
# Installs what is needed, builds everything in ./build and runs all tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/deps.sh

# Tests are headless, with a fixed locale, silent, and with runtime and
# settings folders of their own.
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 LANG=C.UTF-8 VELMORA_SOUND=off
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -w "${XDG_RUNTIME_DIR}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR
fi
export XDG_CONFIG_HOME=$(mktemp -d)

cmake -S . -B build -G Ninja
cmake --build build -j"${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
ctest --test-dir build --output-on-failure
