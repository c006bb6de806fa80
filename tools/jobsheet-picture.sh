#!/usr/bin/env bash
# Prints the demo business's job sheets of its "today" to PDF and renders the
# first page as a PNG: for the README and to look at a sheet without a printer.
# Usage: tools/jobsheet-picture.sh [OUTPUT.png]   (after tools/run.sh or a build in ./build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/jobsheet.png}")
[ -x "$root/build/bin/velmora-sheets" ] || { echo "Önce derleyin: bash tools/run.sh" >&2; exit 1; }
[ -d "$root/demo/MuhasebeData" ] || "$root/build/bin/velmora-demo" "$root/demo"
pdfs=$(mktemp -d)
trap 'rm -rf "$pdfs"' EXIT
cd "$root/demo"
# A settings file of its own, so a user's settings are never read or touched.
export XDG_CONFIG_HOME=$(mktemp -d)
pdf=$("$root/build/bin/velmora-sheets" "$pdfs")
pdftoppm -png -r 100 -f 1 -l 1 -singlefile "$pdf" "${out%.png}"
echo "Görev fişi: $out (PDF: ilk sayfa)"
