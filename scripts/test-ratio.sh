#!/usr/bin/env bash
# Prints the non-blank C++ lines (*.cpp, *.h) of the tests (tests/) and of
# all other tracked code (bench/ and fuzz/ included), and the tests' size
# as a percentage of the code's. Only files tracked by git count, so build
# directories never do. Informational: always exits 0.
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root" || exit 0

count() {
  # Non-blank lines of the NUL-separated file names on standard input.
  xargs -0 -r cat -- 2>/dev/null | grep -c '[^[:space:]]' || true
}

tests=$(git ls-files -z -- 'tests/*.cpp' 'tests/*.h' 2>/dev/null | count)
code=$(git ls-files -z -- '*.cpp' '*.h' ':!:tests/' 2>/dev/null | count)
tests=${tests:-0}
code=${code:-0}
if [ "$code" -gt 0 ]; then
  ratio=$(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.1f", 100 * t / c }')
else
  ratio="n/a"
fi
echo "tests $tests lines, code $code lines, ratio $ratio %"
exit 0
