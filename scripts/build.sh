#!/usr/bin/env bash
# Builds the native unit tests (build/native) and the Windows programs,
# their tests and benchmarks (build/win, output folder build/win/out).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
# VARDO_BUILD_DIR lets several work trees or people build side by side.
b=${VARDO_BUILD_DIR:-$root/build}
what=${1:-all}
if [ "$what" = all ] || [ "$what" = native ]; then
  cmake -S "$root" -B "$b/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$b/native" -j "$jobs"
fi
if [ "$what" = all ] || [ "$what" = win ]; then
  cmake -S "$root" -B "$b/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
  cmake --build "$b/win" -j "$jobs"
fi
