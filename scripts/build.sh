#!/usr/bin/env bash
# Builds the native unit tests (build/native; with clang and the fuzz
# targets build/clang) and the Windows programs, their tests and benchmarks
# (build/win, output folder build/win/out), and the three programs once more
# with clang targeting MinGW-w64 (build/clang-win/out).
#   bash scripts/build.sh [all|native|clang|win|clang-win]
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
# Second compiler: the pure code, its unit tests and the fuzz targets built
# with clang (ASan and UBSan).
if [ "$what" = all ] || [ "$what" = clang ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$b/clang" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARDO_FUZZ=ON >/dev/null
  cmake --build "$b/clang" -j "$jobs"
fi
if [ "$what" = all ] || [ "$what" = win ]; then
  cmake -S "$root" -B "$b/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
  cmake --build "$b/win" -j "$jobs"
fi
if [ "$what" = all ] || [ "$what" = clang-win ]; then
  cmake -S "$root" -B "$b/clang-win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/clang-mingw-w64.cmake" >/dev/null
  cmake --build "$b/clang-win" -j "$jobs" --target Vardo kestil mirrun
fi
