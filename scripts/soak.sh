#!/usr/bin/env bash
# Builds the Windows programs and runs the soak tests in full under Wine on
# a private display: Vardo's capture, rectangle and pin cycles with every
# pin removed afterwards, and kestil's "开始", callout and "关闭" cycles.
# Prints, for each program, the GDI objects, resident memory and windows at
# the start (after the warm-up) and at the end, the time taken and every
# cycle that failed. CI's test run makes 15 Vardo and 25 kestil cycles.
#   bash scripts/soak.sh [CYCLES]   (default 200)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cycles=${1:-200}
bash scripts/deps.sh
bash scripts/build.sh win
b=${VARDO_BUILD_DIR:-$root/build}
exe="$b/win/out/tests/e2e_soak_test.exe"
source scripts/wine-env.sh
work=$(mktemp -d /tmp/vardo-soak.XXXXXX)
trap 'vardo_env_stop; rm -rf "$work"' EXIT
export VARDO_DESKTOP_DIR="$work"
vardo_display_start 1920x1080
vardo_prefix_create "$work/prefix"
status=0
for t in VardoSoak KestilSoak; do
  echo "== $t, $cycles cycles"
  # About 3 s a cycle; the limit only stops a run that hangs.
  VARDO_SOAK_CYCLES=$cycles WINEDEBUG=-all vardo_steady timeout -k 10 $((120 + cycles * 15)) \
    wine "$exe" --gtest_filter="$t.*" --gtest_color=no >"$work/$t.log" 2>&1 || status=1
  grep -E '^\[soak\]|Failure|error:|FAILED|PASSED' "$work/$t.log" || true
done
exit $status
