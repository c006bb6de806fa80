#!/usr/bin/env bash
# Installs what is needed, builds Velmora in ./build, makes demo data in
# ./demo (once) and starts the program there, where it finds "MuhasebeData/"
# without any settings.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/deps.sh
cmake -S . -B build -G Ninja
cmake --build build -j"${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

if [ ! -d demo/MuhasebeData ]; then
  ./build/bin/velmora-demo demo
else
  echo "Demo data already in $root/demo/MuhasebeData (remove it for a fresh set)"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display here (DISPLAY and WAYLAND_DISPLAY are unset): Velmora is not started."
  if [ -x tools/screenshot.sh ]; then
    echo "Making a screenshot of the board on a virtual screen instead:"
    bash tools/screenshot.sh
  fi
  exit 0
fi

cd demo
exec "$root/build/bin/velmora"
