#!/usr/bin/env bash
# The cost of one whole run of the program, start-up included: the number of
# instructions it executes (valgrind's callgrind, which counts the same on a
# busy machine as on an idle one) and its peak resident memory
# (/usr/bin/time -v). Builds a Release program first.
#
# Usage: bench/run_cost.sh [BUILD_DIR]      (default: build-cost)
# Exits 1 when a run exceeds 1.2 million instructions or 2 MiB.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build-cost}")
max_instructions=1200000
max_resident_kib=2048

for tool in valgrind /usr/bin/time; do
  if ! command -v "$tool" >/dev/null; then
    echo "run_cost.sh: $tool is needed (Debian packages valgrind and time)" >&2
    exit 2
  fi
done

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUILLMERE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target quillmere -j2 >/dev/null
program=$build/quillmere

run=$(mktemp -d)
trap 'rm -rf "$run"' EXIT
mkdir "$run/counted" "$run/timed"

(cd "$run/counted" && valgrind --tool=callgrind --callgrind-out-file="$run/callgrind.out" \
  "$program" >/dev/null 2>"$run/callgrind.log")
instructions=$(awk '/Collected :/ { print $NF }' "$run/callgrind.log")

(cd "$run/timed" && /usr/bin/time -v "$program" >/dev/null 2>"$run/time.log")
resident_kib=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$run/time.log")

printf 'one run: %s instructions (limit %s), peak resident memory %s KiB (limit %s)\n' \
  "$instructions" "$max_instructions" "$resident_kib" "$max_resident_kib"
if ((instructions > max_instructions || resident_kib > max_resident_kib)); then
  echo "run_cost.sh: over the limit" >&2
  exit 1
fi
