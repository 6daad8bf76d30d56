#!/bin/sh
# `cmake --install` puts the program and its man page where users look.
# Usage: install_test.sh BUILD_DIR
set -eu
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
test -x "$prefix/bin/quillmere" || { echo "missing: bin/quillmere"; exit 1; }
test -f "$prefix/share/man/man1/quillmere.1" || { echo "missing: share/man/man1/quillmere.1"; exit 1; }
# The installed program is the program: it runs and writes its tables.
cd "$prefix" && "$prefix/bin/quillmere" >/dev/null
test "$(wc -c <"$prefix/Bessel.out")" -eq 26000
