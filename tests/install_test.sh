#!/bin/sh
# `cmake --install` puts the program and its man page where users look.
# Usage: install_test.sh BUILD_DIR [EMULATOR...]: a cross-compiled program
# runs under the emulator given.
set -eu
build=$1
shift
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
program=$prefix/bin/quillmere
[ -f "$program" ] || program=$program.exe
test -f "$program" || { echo "missing: bin/quillmere"; exit 1; }
case $program in
*.exe) ;;  # Windows has no man pages
*) test -f "$prefix/share/man/man1/quillmere.1" || { echo "missing: share/man/man1/quillmere.1"; exit 1; } ;;
esac
# The installed program is the program: it runs and writes its tables.
cd "$prefix" && "$@" "$program" >/dev/null
cmp "$prefix/Butterworth.out" "$(dirname "$0")/data/Butterworth.out"
cmp "$prefix/Bessel.out" "$(dirname "$0")/data/Bessel.out"
