#!/usr/bin/env bash
# Installs what is missing, builds Keynest and runs every test: the whole
# suite, then the core libraries again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

export QT_QPA_PLATFORM=offscreen
build="${KEYNEST_BUILD_DIR:-$root/build}"
KEYNEST_BUILD_DIR="$build" "$root/scripts/build.sh" -DKEYNEST_WERROR=ON
ctest --test-dir "$build" --output-on-failure -j 2 --timeout 60

asan="${KEYNEST_ASAN_DIR:-$root/build-asan}"
if [ ! -f "$asan/build.ninja" ]; then
  cmake -S "$root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKEYNEST_GUI=OFF \
    -DKEYNEST_BENCH=OFF -DKEYNEST_SANITIZE=ON -DKEYNEST_WERROR=ON
fi
cmake --build "$asan"
ctest --test-dir "$asan" --output-on-failure -j 2 --timeout 60

# Fuzzers, each for a bounded time; any finding fails the run.
FUZZ_SECONDS="${FUZZ_SECONDS:-20}" "$root/scripts/fuzz.sh"

"$root/scripts/test-ratio.sh"
