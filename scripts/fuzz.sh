#!/usr/bin/env bash
# Builds the libFuzzer programs with clang into build-fuzz/ (configured
# once) and runs each for FUZZ_SECONDS seconds (default 30) on a copy of
# its seed corpus in a temporary directory; nothing is written into the
# source tree. Exits non-zero when any fuzzer reports a crash, a sanitizer
# error or a failed check; its log and the input that did it are then
# kept in the temporary directory, whose path is printed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

build="${KEYNEST_FUZZ_DIR:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-30}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DKEYNEST_GUI=OFF -DKEYNEST_BENCH=OFF -DKEYNEST_FUZZ=ON
fi
cmake --build "$build" --target keynest_fuzzers -j 2

# Scratch space in memory where there is some: the INI fuzzer writes a
# file and a database for every input.
scratch="${FUZZ_TMPDIR:-/dev/shm}"
[ -d "$scratch" ] && [ -w "$scratch" ] || scratch="${TMPDIR:-/tmp}"
work="$(mktemp -d "$scratch/keynest-fuzz.XXXXXX")"
clean=0
found=()
while read -r name; do
  [ -n "$name" ] || continue
  dir="$work/$name"
  mkdir -p "$dir/corpus"
  if [ -d "$root/fuzz/corpus/$name" ]; then
    cp -R "$root/fuzz/corpus/$name/." "$dir/corpus/"
  fi
  # Run inside the scratch directory with TMPDIR there too, so whatever a
  # fuzzer writes (crash inputs, its own files) stays out of the tree.
  if (cd "$dir" && TMPDIR="$dir" "$build/fuzz/$name" -max_total_time="$seconds" -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$dir/" corpus >"$dir/log" 2>&1); then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log")"
    echo "$name: ${runs:-?} inputs in $seconds s, corpus $(ls "$dir/corpus" | wc -l) files, no findings"
    clean=$((clean + 1))
  else
    found+=("$name")
    echo "$name: FINDING (log and input in $dir)"
    tail -n 40 "$dir/log"
  fi
done <"$build/fuzz/fuzzers.txt"

echo "fuzzers: $clean clean, ${#found[@]} with findings"
if [ "${#found[@]}" -gt 0 ]; then
  echo "kept for inspection: $work"
  exit 1
fi
rm -rf "$work"
