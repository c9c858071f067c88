#!/usr/bin/env bash
# A translucent pin layer ("透明度" > "50%" in an image's menu) takes every
# click, so nothing reaches the window beneath it; "恢复正常" lets clicks
# through again. Real X input throughout: the file drop (xdnd_drop), the
# menu and the clicks.
# Usage: layer_translucent.sh OUTPUT_FOLDER   (needs DISPLAY and WINEPREFIX)
set -u
out=$1
work=$(mktemp -d)
source "$(dirname "$0")/common.bash"
trap 'x11_cleanup; rm -rf "$work"' EXIT
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.1; done; }
# A 60 x 60 blue PNG to pin.
solid_png "$work/pin.png" 60 60 0 0 255
read -r sw sh < <(xdotool getdisplaygeometry)
timeout 80 wine "$out/tests/tools/clickpad.exe" 100 700 300 200 >/dev/null 2>&1 &
pids+=($!)
wait_for '^clickpad 0$' 20 || { echo "FAIL: clickpad did not appear"; exit 1; }
timeout 80 wine "$out/Vardo.exe" >/dev/null 2>&1 &
pids+=($!)
wait_for '^afterdoch$' 20 || { echo "FAIL: the pin layer did not appear"; exit 1; }
sleep 1
# Hide the settings window ("隐藏", 8,112 65 x 25 in its client area): it
# opens over the middle of the screen, where pins appear.
eval "$(xdotool search --name '^Form1$' getwindowgeometry --shell 2>/dev/null | head -3)"
[ -n "${X:-}" ] || { echo "FAIL: the settings window was not found"; exit 1; }
xdotool mousemove $(( X + 40 )) $(( Y + 124 )) click 1
sleep 0.5
# The handle: 36 px, 33 px (500 twips) from the top and right edges.
"$out/tests/tools/xdnd_drop" $(( sw - 33 - 18 )) $(( 33 + 18 )) "file://$work/pin.png" >/dev/null 2>&1 \
  || { echo "FAIL: the drop on the handle was not taken"; exit 1; }
sleep 2.5
cx=$(( sw / 2 )); cy=$(( sh / 2 ))
xdotool mousemove $cx $cy click 3
sleep 0.5
keys Down Down Down Down Right Return   # 透明度 > 50%
sleep 0.5
xdotool mousemove 200 775 click 1
sleep 1
if wait_for '^clickpad 1$' 1; then
  echo "FAIL: a click reached the window beneath the translucent layer"
  exit 1
fi
xdotool mousemove $cx $cy click 3
sleep 0.5
keys Down Down Down Down Right Down Down Return   # 透明度 > 恢复正常
sleep 0.5
xdotool mousemove 200 775 click 1
if wait_for '^clickpad 1$' 5; then
  echo "PASS: the translucent layer took the click; back in normal mode the click went through"
  exit 0
fi
echo "FAIL: after 恢复正常 the click did not reach the window beneath (title: $(xdotool search --name '^clickpad' getwindowname 2>/dev/null))"
exit 1
