#!/usr/bin/env bash
# Builds the Debian package: a Release build in build-pkg/, installed under
# /usr, compiled with Debian's hardening flags, packed by CPack. Prints the
# path of the .deb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

build="${KEYNEST_PKG_DIR:-$root/build-pkg}"
if [ ! -f "$build/build.ninja" ]; then
  export DEB_BUILD_MAINT_OPTIONS=hardening=+all
  eval "$(dpkg-buildflags --export=sh)"
  # CMake reads CXXFLAGS and LDFLAGS but not CPPFLAGS (_FORTIFY_SOURCE).
  export CXXFLAGS="$CPPFLAGS $CXXFLAGS"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DKEYNEST_BENCH=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
fi
# Only the installed programs: the tests are not part of the package.
cmake --build "$build" --target keynest_programs -j 2
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls -t "$build"/keynest_*.deb | head -n 1)"
# lintian is optional here; when it is installed, an error it reports
# fails the script (warnings are shown only).
if command -v lintian >/dev/null; then
  if ! lintian --info --fail-on error "$deb" >&2; then
    echo "lintian reports an error in $deb" >&2
    exit 1
  fi
fi
echo "$deb"
