#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# native unit tests (sanitizers) built with GCC and with clang, each fuzz
# target for VARDO_FUZZ_SECONDS (default 20; 0 skips them), the release
# packages made from the programs just built, then under Wine on a private
# Xvfb display with a fresh prefix: the Windows unit tests, the static
# checks (of the packages too) and the end-to-end tests, the installer's
# among them. Extra arguments go to every ctest run (e.g. -R Pin).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
bash scripts/build.sh
b=${VARDO_BUILD_DIR:-$root/build}

status=0
echo "== native unit tests"
ctest --test-dir "$b/native" --output-on-failure -j "$(nproc)" "$@" || status=1
echo "== native unit tests built with clang"
ctest --test-dir "$b/clang" --output-on-failure -j "$(nproc)" "$@" || status=1
fuzz_seconds=${VARDO_FUZZ_SECONDS:-20}
if [ "$fuzz_seconds" != 0 ]; then
  echo "== fuzz targets, ${fuzz_seconds}s each"
  bash scripts/fuzz.sh "$fuzz_seconds" || status=1
fi
echo "== static checks of the programs built with clang"
python3 tests/tools/check_pe.py "$b/clang-win/out" || status=1
echo "== release packages"
bash scripts/package.sh --reuse || status=1

source scripts/wine-env.sh
work=$(mktemp -d /tmp/vardo-test.XXXXXX)
cleanup() { vardo_env_stop; rm -rf "$work"; }
trap cleanup EXIT
export VARDO_DESKTOP_DIR="$work"
vardo_display_start 1920x1080
vardo_prefix_create "$work/prefix"
echo "== Windows tests under Wine (display $DISPLAY)"
vardo_steady ctest --test-dir "$b/win" --output-on-failure "$@" || status=1
exit $status
