#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Velmora
# needs. Safe to run again: when everything is there it changes nothing.
set -euo pipefail

packages=(
  g++ cmake ninja-build ccache
  qt6-base-dev libgl-dev libsqlite3-dev libasound2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  mdbtools-dev mdbtools pkg-config
  fonts-liberation xvfb xauth imagemagick poppler-utils
  clang-14 libclang-rt-14-dev llvm-14
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "deps: all packages are installed"
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "deps: run as root (sudo bash tools/deps.sh)" >&2; exit 1; }
  as_root=(sudo)
fi
echo "deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q </dev/null
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
