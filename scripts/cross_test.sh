#!/usr/bin/env bash
# Builds the program and its tests for another platform with one of the
# toolchain files in cmake/toolchains, runs every test under the platform's
# emulator, then runs the program once in an empty folder and compares its
# tables with tests/data and its console text with the native program's.
#
# Usage: scripts/cross_test.sh TOOLCHAIN [NATIVE_PROGRAM]
#   TOOLCHAIN       a name in cmake/toolchains, e.g. s390x-linux-gnu
#   NATIVE_PROGRAM  a program built for this machine (default build/quillmere);
#                   its console text is the one to match
# Builds in build-TOOLCHAIN, with warnings as errors.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
toolchain=$1
native=$(realpath "${2:-$root/build/quillmere}")
file=$root/cmake/toolchains/$toolchain.cmake
build=$root/build-$toolchain
[ -f "$file" ] || { echo "cross_test.sh: no toolchain file $file" >&2; exit 2; }

# wine: no dialogs and no debug chatter, in a prefix of its own.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX="$build/wine"

# The emulator as the toolchain file sets it.
emulator=$(cmake -P "$root/cmake/print_emulator.cmake" "$file")
if [ "$emulator" = wine ]; then
  # Set the prefix up once, before the build's test discovery runs wine twice
  # at a time.
  mkdir -p "$build"
  wineboot --init >/dev/null 2>&1
  wineserver --wait
fi

cmake -S "$root" -B "$build" --toolchain "$file" -DCMAKE_BUILD_TYPE=Release -DQUILLMERE_WERROR=ON
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure -j2

program=$build/quillmere
[ -f "$program" ] || program=$program.exe
run=$(mktemp -d)
trap 'rm -rf "$run"' EXIT
mkdir "$run/native" "$run/target"
(cd "$run/native" && "$native" >console.txt)
# shellcheck disable=SC2086 # the emulator is a command and its arguments
(cd "$run/target" && $emulator "$program" >console.txt)
for name in Butterworth.out Bessel.out; do
  cmp "$root/tests/data/$name" "$run/target/$name"
done
cmp "$run/native/console.txt" "$run/target/console.txt"
echo "$toolchain: every test passed; the same tables and console text as tests/data and the native program"
