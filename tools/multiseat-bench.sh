#!/usr/bin/env bash
# Measures the board's work on a PostgreSQL cluster of its own beside SQLite
# (docs/MULTISEAT.md). Installs what the program itself never needs (the
# PostgreSQL server and client library), builds the benchmark in
# ./build-rel and runs it; the cluster lives in a temporary folder and is
# stopped at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/deps.sh
extra=()
for p in postgresql libpq-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || extra+=("$p")
done
if [ ${#extra[@]} -gt 0 ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get install -y --no-install-recommends "${extra[@]}"
fi

export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 LANG=C.UTF-8 VELMORA_SOUND=off
cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_TESTS=OFF
cmake --build build-rel -j2 --target velmora_multiseat_bench
build-rel/bin/velmora_multiseat_bench "$@"
