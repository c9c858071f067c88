#!/usr/bin/env bash
# Builds the native unit tests (build/native) and the Windows programs,
# their tests and benchmarks (build/win, output folder build/win/out).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
what=${1:-all}
if [ "$what" = all ] || [ "$what" = native ]; then
  cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$root/build/native" -j "$jobs"
fi
if [ "$what" = all ] || [ "$what" = win ]; then
  cmake -S "$root" -B "$root/build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
  cmake --build "$root/build/win" -j "$jobs"
fi
