#!/usr/bin/env bash
# Clicks through the pin layer with real X input: the colour-keyed area of
# the layer must let a click reach the window beneath it (another program's
# window). X input goes through the X server, which honours the layer's
# shape, as Windows honours the colour key.
# Usage: layer_click_through.sh OUTPUT_FOLDER   (needs DISPLAY and WINEPREFIX)
set -u
out=$1
source "$(dirname "$0")/common.bash"
trap x11_cleanup EXIT
timeout 60 wine "$out/tests/tools/clickpad.exe" 100 700 300 200 >/dev/null 2>&1 &
pids+=($!)
wait_for '^clickpad 0$' 20 || { echo "FAIL: clickpad did not appear"; exit 1; }
timeout 60 wine "$out/Vardo.exe" >/dev/null 2>&1 &
pids+=($!)
wait_for '^afterdoch$' 20 || { echo "FAIL: the pin layer did not appear"; exit 1; }
sleep 1
# The clickpad lies under the full-screen, topmost layer.
xdotool mousemove 200 775 click 1
if wait_for '^clickpad 1$' 5; then
  echo "PASS: a click on the layer's see-through area reached the window beneath"
  exit 0
fi
echo "FAIL: the click did not reach the window beneath the layer (title: $(xdotool search --name '^clickpad' getwindowname 2>/dev/null))"
exit 1
