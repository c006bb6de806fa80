#!/usr/bin/env bash
# Starts Velmora on the demo data under a virtual X server and saves a PNG of
# the board: for the README and for machines without a display.
# Usage: tools/screenshot.sh [OUTPUT.png]   (after tools/run.sh or a build in ./build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/board.png}")
[ -x "$root/build/bin/velmora" ] || { echo "Önce derleyin: bash tools/run.sh" >&2; exit 1; }
[ -d "$root/demo/MuhasebeData" ] || "$root/build/bin/velmora-demo" "$root/demo"
cd "$root/demo"
# A settings file of its own, so a user's settings are never read or touched.
export XDG_CONFIG_HOME=$(mktemp -d)
export VELMORA_SCREENSHOT="$out"
xvfb-run -a -s "-screen 0 1366x768x24" "$root/build/bin/velmora"
echo "Ekran görüntüsü: $out"
