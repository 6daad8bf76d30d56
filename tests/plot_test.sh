#!/bin/sh
# The plot script turns a folder of tables into a PNG.
# Usage: plot_test.sh SCRIPT TABLE_DIR. Exits 77 (skipped) without gnuplot.
set -eu
command -v gnuplot >/dev/null || { echo "gnuplot is not installed"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
gnuplot -c "$1" "$2" "$out/response.png" 2>"$out/errors"
[ ! -s "$out/errors" ] || { cat "$out/errors"; exit 1; }
# A PNG signature and a picture of some substance: six curves, two panels.
[ "$(head -c 8 "$out/response.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
  { echo "not a PNG"; exit 1; }
[ "$(wc -c <"$out/response.png")" -gt 50000 ] || { echo "suspiciously small"; exit 1; }
# Missing tables are an error, not an empty picture.
if gnuplot -c "$1" "$out/no-such-folder" "$out/empty.png" 2>/dev/null; then
  echo "no error for a folder without tables"; exit 1
fi
