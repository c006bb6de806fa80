#!/usr/bin/env bash
# Renders the program's icon (packaging/icons/velmora.svg, drawn for Velmora)
# into the PNG sizes of the hicolor theme. Run it again after changing the
# drawing and commit the files it writes. Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
icons=$(cd "$(dirname "$0")/../packaging/icons" && pwd)
for size in 16 24 32 48 64 128 256; do
  mkdir -p "$icons/hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" "$icons/velmora.svg" -o "$icons/hicolor/${size}x${size}/apps/velmora.png"
done
echo "icons: $icons/hicolor"
