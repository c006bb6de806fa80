#!/usr/bin/env bash
# Installs the package that tools/package.sh built (apt-get, which brings its
# dependencies), runs the installed programs from /usr, and removes the package
# again when it was not installed before. Root, or a user with sudo.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/as-root.sh"
deb=$(ls "$root"/build/velmora_*.deb)
version=$(dpkg-deb --field "$deb" Version)
installed_before=$(dpkg-query -W -f='${Status}' velmora 2>/dev/null | grep -c 'install ok installed' || true)

as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" </dev/null
cleanup() {
  rm -rf "$work"
  if [ "$installed_before" -eq 0 ]; then
    as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q velmora </dev/null >/dev/null
    echo "check-package: velmora removed again"
  fi
}
work=$(mktemp -d)
trap cleanup EXIT

fail() { echo "check-package: $*" >&2; exit 1; }
[ "$(/usr/bin/velmora-sql --version)" = "velmora-sql $version" ] || fail "velmora-sql --version"
[ "$(/usr/bin/velmora --version)" = "velmora $version" ] || fail "velmora --version"
/usr/bin/velmora-demo "$work/demo" || fail "velmora-demo"
/usr/bin/velmora-sql "$work/demo/MuhasebeData/Montaj.mdb" "Select Count(*) As Jobs From Montaj" || fail "velmora-sql"
[ -s /usr/share/velmora/sounds/Cmd.wav ] || fail "the sounds are not in /usr/share/velmora"
[ -s /usr/share/applications/velmora.desktop ] || fail "no menu entry"
echo "check-package: velmora $version installed and ran from /usr"
