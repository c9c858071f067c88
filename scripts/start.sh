#!/usr/bin/env bash
# Installs what is missing, builds, and starts Vardo under Wine.
# With no display it starts a virtual one, waits for Vardo's windows and
# saves a screenshot (path printed at the end), then stops Vardo.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
bash scripts/build.sh win
source scripts/wine-env.sh
b=${VARDO_BUILD_DIR:-$root/build}
exe="$b/win/out/Vardo.exe"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  prefix="$root/build/wineprefix"
  if [ ! -d "$prefix/drive_c" ]; then vardo_prefix_create "$prefix"; else
    export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"; fi
  echo "Starting Vardo on $DISPLAY (Ctrl+C to stop)"
  exec wine "$exe"
fi
work=$(mktemp -d /tmp/vardo-start.XXXXXX)
trap 'vardo_env_stop' EXIT
export VARDO_DESKTOP_DIR="$work"
vardo_display_start 1920x1080
vardo_prefix_create "$work/prefix"
wine "$exe" &
for i in $(seq 1 100); do
  xdotool search --name '^afterdoch$' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 1
shot="$root/build/vardo-screenshot.png"
import -window root "$shot"
echo "Vardo is running on the virtual display $DISPLAY; screenshot saved to $shot"
wineserver -k
