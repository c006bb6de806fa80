#!/usr/bin/env bash
# Builds the Debian package build/velmora_<version>_amd64.deb: the programs,
# their sounds, the menu entry, the icon, the AppStream data and the manual
# pages, with the libraries they need as dependencies (dpkg-shlibdeps), then
# checks it with lintian, which must find no error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/deps.sh
cmake -S . -B build -G Ninja
cmake --build build -j"${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
rm -f build/velmora_*.deb
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/velmora_*.deb)
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends

# lintian's verdict: errors fail the script, warnings are shown.
report=$(lintian --tag-display-limit 0 "$deb" 2>/dev/null || true)
[ -z "$report" ] || echo "$report"
errors=$(grep -c '^E:' <<<"$report" || true)
warnings=$(grep -c '^W:' <<<"$report" || true)
echo "lintian: $errors errors, $warnings warnings"
[ "$errors" -eq 0 ]
