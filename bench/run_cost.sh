#!/usr/bin/env bash
# The cost of one whole run of the program, start-up included, for three
# Release builds: the static program, the build as configured by default,
# and the dynamically linked program (what sanitizer builds and platforms
# without a static C library get). For each, the number of instructions it executes (valgrind's
# callgrind, which counts the same on a busy machine as on an idle one) and
# its peak resident memory (/usr/bin/time -v).
#
# Usage: bench/run_cost.sh [BUILD_DIR]      (default: build-cost)
# Exits 1 when a run is over its limit: 1.0 million instructions for the
# static program, 1.25 million for the others, 2 MiB for any.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build-cost}")
max_resident_kib=2048

for tool in valgrind /usr/bin/time; do
  if ! command -v "$tool" >/dev/null; then
    echo "run_cost.sh: $tool is needed (Debian packages valgrind and time)" >&2
    exit 2
  fi
done

run=$(mktemp -d)
trap 'rm -rf "$run"' EXIT
over=0

# measure NAME LIMIT CMAKE_OPTION...: builds into $build/NAME, runs it once
# under each tool in a fresh folder, prints the figures.
measure() {
  local name=$1 max_instructions=$2
  shift 2
  cmake -S "$root" -B "$build/$name" -DCMAKE_BUILD_TYPE=Release -DQUILLMERE_BUILD_TESTS=OFF "$@" \
    >/dev/null
  cmake --build "$build/$name" --target quillmere -j2 >/dev/null
  local program=$build/$name/quillmere
  mkdir "$run/$name" "$run/$name/counted" "$run/$name/timed"
  (cd "$run/$name/counted" && valgrind --tool=callgrind \
    --callgrind-out-file="$run/$name/callgrind.out" "$program" >/dev/null 2>"$run/$name/callgrind.log")
  local instructions resident_kib
  instructions=$(awk '/Collected :/ { print $NF }' "$run/$name/callgrind.log")
  (cd "$run/$name/timed" && /usr/bin/time -v "$program" >/dev/null 2>"$run/$name/time.log")
  resident_kib=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$run/$name/time.log")
  printf '%-8s one run: %s instructions (limit %s), peak resident memory %s KiB (limit %s)\n' \
    "$name" "$instructions" "$max_instructions" "$resident_kib" "$max_resident_kib"
  if ((instructions > max_instructions || resident_kib > max_resident_kib)); then
    echo "run_cost.sh: $name is over its limit" >&2
    over=1
  fi
}

measure static 1000000 -DQUILLMERE_STATIC=ON
measure default 1250000
measure dynamic 1250000 -DQUILLMERE_STATIC=OFF
exit "$over"
