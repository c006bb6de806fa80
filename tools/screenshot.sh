#!/usr/bin/env bash
# Starts Velmora on the demo data under a virtual X server and saves a PNG of
# the board: for the README and for machines without a display.
# Usage: tools/screenshot.sh [OUTPUT.png] [WIDTHxHEIGHT] [light|dark]
#        (after tools/run.sh or a build in ./build; default 1366x768, light)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/board.png}")
size=${2:-1366x768}
theme=${3:-light}
[[ $size =~ ^[0-9]+x[0-9]+$ ]] || { echo "Boyut GENİŞLİKxYÜKSEKLİK olmalı: $size" >&2; exit 2; }
[[ $theme == light || $theme == dark ]] || { echo "Tema light ya da dark olmalı: $theme" >&2; exit 2; }
[ -x "$root/build/bin/velmora" ] || { echo "Önce derleyin: bash tools/run.sh" >&2; exit 1; }
[ -d "$root/demo/MuhasebeData" ] || "$root/build/bin/velmora-demo" "$root/demo"
cd "$root/demo"
# A settings file of its own, so a user's settings are never read or touched,
# and the first run's window: the whole screen.
export XDG_CONFIG_HOME=$(mktemp -d)
export VELMORA_SCREENSHOT="$out"
[ "$theme" = dark ] && export VELMORA_SCREENSHOT_THEME=dark
xvfb-run -a -s "-screen 0 ${size}x24" "$root/build/bin/velmora"
echo "Ekran görüntüsü: $out"
