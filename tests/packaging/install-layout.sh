#!/usr/bin/env bash
# install-layout.sh BUILD_DIR VERSION: installs BUILD_DIR into a temporary
# prefix, then checks the layout, the links between the desktop entry, the
# metadata and the icons, and validates the desktop entry and the metadata.
set -euo pipefail
build="$1"
version="$2"
id=io.keynest.Keynest
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
need() { [ -f "$prefix/$1" ] || fail "missing $1"; }

[ -x "$prefix/bin/keynest" ] || fail "bin/keynest is missing or not executable"
desktop="share/applications/$id.desktop"
metainfo="share/metainfo/$id.metainfo.xml"
for file in "$desktop" "$metainfo" "share/icons/hicolor/scalable/apps/$id.svg" \
  share/man/man1/keynest.1.gz share/doc/keynest/copyright share/doc/keynest/changelog.gz; do
  need "$file"
done
if [ -x "$build/cli/keynest-cli" ]; then need share/man/man1/keynest-cli.1.gz; fi
# Every manual page is compressed (lintian: uncompressed-manual-page).
while IFS= read -r page; do fail "uncompressed manual page ${page#"$prefix"/}"; done \
  < <(find "$prefix/share/man" -type f ! -name '*.gz')

# Each PNG holds the size its folder names (width and height from the header).
for size in 16 32 48 64 128 256; do
  png="share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ -f "$prefix/$png" ] || { fail "missing $png"; continue; }
  read -r width height < <(od -An -tu1 -j16 -N8 "$prefix/$png" |
    awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
  [ "$width $height" = "$size $size" ] || fail "$png is ${width}x$height"
done

# The entry starts the installed program under its installed icon, and the
# metadata names that entry and this version.
grep -qx "Exec=keynest" "$prefix/$desktop" || fail "Exec is not keynest"
grep -qx "Icon=$id" "$prefix/$desktop" || fail "Icon is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/$metainfo" ||
  fail "metadata does not launch $id.desktop"
grep -q "<release version=\"$version\"" "$prefix/$metainfo" || fail "metadata lacks release $version"
gzip -t "$prefix"/share/man/man1/*.gz "$prefix/share/doc/keynest/changelog.gz" ||
  fail "a compressed file is damaged"

desktop-file-validate "$prefix/$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/$metainfo" || fail "appstreamcli validate"

[ "$failures" -eq 0 ] && echo "install layout OK"
exit "$failures"
