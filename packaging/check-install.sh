#!/usr/bin/env bash
# Installs a build into a temporary tree (as a package would, prefix /usr) and
# checks that the tree holds what the menu, the icon theme, AppStream and man
# look for, and that its programs run from there and read the demo data.
# Usage: check-install.sh BUILD-DIR VERSION
set -euo pipefail
build=$1
version=$2
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$tree" cmake --install "$build" --prefix /usr >/dev/null
usr=$tree/usr

programs=(velmora velmora-demo velmora-sql velmora-import velmora-sheets)
for p in "${programs[@]}"; do
  [ -x "$usr/bin/$p" ] || fail "bin/$p missing"
  [ -s "$usr/share/man/man1/$p.1.gz" ] || fail "man page of $p missing"
  gzip -t "$usr/share/man/man1/$p.1.gz" || fail "man page of $p is not gzip"
done
for f in share/velmora/sounds/Cmd.wav share/velmora/sounds/Recycle.wav \
         share/applications/velmora.desktop share/metainfo/org.velmora.Velmora.metainfo.xml \
         share/icons/hicolor/scalable/apps/velmora.svg \
         share/doc/velmora/copyright share/doc/velmora/changelog.gz; do
  [ -s "$usr/$f" ] || fail "$f missing"
done
# Each PNG is a PNG of the size its folder names (width and height at bytes 16-23).
for size in 16 24 32 48 64 128 256; do
  png=$usr/share/icons/hicolor/${size}x${size}/apps/velmora.png
  [ -s "$png" ] || fail "${size}px icon missing"
  [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$png is no PNG"
  wh=$(od -An -j16 -N8 --endian=big -tu4 "$png" | tr -s ' ' | sed 's/^ //')
  [ "$wh" = "$size $size" ] || fail "$png is not ${size}x${size} ($wh)"
done
# The AppStream release is the program's version.
grep -q "<release version=\"$version\"" "$usr/share/metainfo/org.velmora.Velmora.metainfo.xml" \
  || fail "metainfo release is not $version"
zcat "$usr/share/doc/velmora/changelog.gz" | head -1 | grep -qF "velmora ($version)" \
  || fail "changelog does not start with $version"

# The installed programs run from the tree: the demo business, a query on it,
# and a day's job sheets to PDF.
[ "$("$usr/bin/velmora-sql" --version)" = "velmora-sql $version" ] || fail "velmora-sql --version"
"$usr/bin/velmora-demo" "$tree/demo" --today 2026-03-18 >/dev/null || fail "velmora-demo"
jobs=$("$usr/bin/velmora-sql" "$tree/demo/MuhasebeData/Montaj.mdb" "Select Count(*) As N From Montaj" | tail -1)
[ "$jobs" -gt 0 ] || fail "no jobs in the installed demo data ($jobs)"
mkdir "$tree/pdf"
pdf=$(cd "$tree/demo" && XDG_CONFIG_HOME="$tree/config" "$usr/bin/velmora-sheets" "$tree/pdf" 2026-03-18) \
  || fail "velmora-sheets"
[ "$(head -c 5 "$pdf")" = "%PDF-" ] || fail "velmora-sheets wrote no PDF ($pdf)"
echo "installed tree ok: ${#programs[@]} programs, $jobs demo jobs, $(basename "$pdf")"
