#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Velmora
# needs. Safe to run again: when everything is there it changes nothing.
set -euo pipefail

packages=(
  g++ cmake ninja-build ccache
  qt6-base-dev qt6-translations-l10n libgl-dev libsqlite3-dev sqlite3 libasound2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  mdbtools-dev mdbtools pkg-config
  fonts-liberation xvfb xauth imagemagick poppler-utils
  clang-14 libclang-rt-14-dev llvm-14
  desktop-file-utils appstream dpkg-dev file lintian
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

source "$(dirname "$0")/as-root.sh"
echo "deps: installing ${missing[*]}"
as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q </dev/null
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
