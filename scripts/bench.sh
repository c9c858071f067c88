#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine on virtual displays of
# 1920x1080 and 3840x2160. Each benchmark prints the medians of our operation
# and of a minimal reference measured side by side in the same run, and
# their ratio (ours / reference).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
bash scripts/build.sh win
b=${VARDO_BUILD_DIR:-$root/build}
# Vardo as the package ships it, without its debug information.
mkdir -p "$b/win/out/bench/shipped"
x86_64-w64-mingw32-objcopy --strip-all "$b/win/out/Vardo.exe" "$b/win/out/bench/shipped/Vardo.exe"
source scripts/wine-env.sh
work=$(mktemp -d /tmp/vardo-bench.XXXXXX)
trap 'vardo_env_stop; rm -rf "$work"' EXIT
export VARDO_DESKTOP_DIR="$work"
for size in 1920x1080 3840x2160; do
  echo "== $size"
  vardo_display_start "$size"
  vardo_prefix_create "$work/prefix-$size"
  for exe in "$b"/win/out/bench/bench_*.exe; do
    case "$exe" in *bench_minimal_*) continue ;; esac
    vardo_steady timeout 600 wine "$exe" || echo "($(basename "$exe") failed)"
  done
  vardo_env_stop
done
