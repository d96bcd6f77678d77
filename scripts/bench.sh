#!/usr/bin/env bash
# Builds and runs the benchmarks, which compare Keynest's Twofish with
# nettle's and libgcrypt's in one run and print the ratios.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
exec "${KEYNEST_BUILD_DIR:-$root/build}/bench/bench_vault" "$@"
