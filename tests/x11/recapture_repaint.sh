#!/usr/bin/env bash
# Every capture freezes the screen as it is: the settings window, covered
# by a pin until the capture hides the pin layer, and then by the overlay
# when a capture starts while another is open, is in the picture as itself,
# not as what covered it. Real X input: the file drop, the check box click,
# the capture hotkey (Print Screen) and the overlay's Control+Shift+C chord.
# Usage: recapture_repaint.sh OUTPUT_FOLDER   (needs DISPLAY and WINEPREFIX)
set -u
out=$1
work=$(mktemp -d)
source "$(dirname "$0")/common.bash"
trap 'x11_cleanup; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
cp "$out/Vardo.exe" "$work/" || { echo "FAIL: no Vardo.exe in $out"; exit 1; }
printf '[hotkey]\r\nHotKey1Text=Print Screen\r\nHotKey1KeyCode=44\r\nHotKey1ModKeyCode=0\r\n' > "$work/set.ini"
(cd "$work" && exec timeout 80 wine ./Vardo.exe >/dev/null 2>&1) &
pids+=($!)
wait_for '^Form1$' 20 || { echo "FAIL: the settings window did not appear"; exit 1; }
sleep 1
eval "$(xdotool search --name '^Form1$' getwindowgeometry --shell 2>/dev/null | head -5)"
[ -n "${X:-}" ] || { echo "FAIL: the settings window was not found"; exit 1; }
# A 200 x 60 pin, which the layer centres on the screen, over the middle of
# the settings window.
solid_png "$work/pin.png" 200 60 255 128 0
read -r sw sh < <(xdotool getdisplaygeometry)
# "启用" (280,112 in the window) registers the hotkey.
xdotool mousemove $(( X + 288 )) $(( Y + 124 )) click 1
sleep 1
# The cursor rests well away from the settings window, with the magnifier.
xdotool mousemove 40 $(( Y + HEIGHT + 200 ))
# The settings window's pixels on screen down to the row of "启用", kept
# as $1.png. (The check box row is left out: the window repaints it without
# its focus frame once the overlay has taken the focus.)
shot() { import -window root -crop "${WIDTH}x105+${X}+${Y}" "$work/$1.png" 2>/dev/null; }
# Waits until they have stayed the same for a second: the new overlay has
# painted its picture and its darkening pass.
settled_shot() {
  local i same=0 prev="" now
  for i in $(seq 1 100); do
    sleep 0.2
    shot "$1" || continue
    now=$(md5sum < "$work/$1.png")
    if [ "$now" = "$prev" ]; then same=$(( same + 1 )); else same=0; fi
    [ $same -ge 5 ] && return 0
    prev=$now
  done
  return 1
}
ids() { xdotool search --onlyvisible --name '^$' 2>/dev/null | sort; }
new_overlay() {  # waits for a visible unnamed window not in "$1"
  local i
  for i in $(seq 1 50); do
    sleep 0.1
    [ -n "$(comm -13 <(echo "$1") <(ids))" ] && return 0
  done
  return 1
}
shot plain
# What a capture shows of it: black at alpha 170 over each channel.
convert "$work/plain.png" -fx 'floor((u*255*85+127)/255)/255' "$work/dimmed.png"
# The handle: 36 px, 33 px from the top and right edges.
"$out/tests/tools/xdnd_drop" $(( sw - 33 - 18 )) $(( 33 + 18 )) "file://$work/pin.png" >/dev/null 2>&1 \
  || { echo "FAIL: the drop on the handle was not taken"; exit 1; }
for i in $(seq 1 50); do
  sleep 0.1
  shot pinned && [ "$(compare -metric AE "$work/plain.png" "$work/pinned.png" null: 2>&1)" != "0" ] && break
done
[ "$(compare -metric AE "$work/plain.png" "$work/pinned.png" null: 2>&1)" != "0" ] \
  || { echo "FAIL: the pin did not appear over the settings window"; exit 1; }
sleep 1
before=$(ids)
xdotool key Print
new_overlay "$before" || { echo "FAIL: the hotkey started no capture"; exit 1; }
settled_shot first || { echo "FAIL: the first capture never settled"; exit 1; }
diff=$(compare -metric AE "$work/dimmed.png" "$work/first.png" null: 2>&1)
[ "$diff" = "0" ] || { echo "FAIL: the capture shows $diff pixels of the settings window other than darkened"; exit 1; }
for step in hotkey chord; do
  before=$(ids)
  if [ $step = hotkey ]; then
    xdotool key Print
  else
    xdotool keydown ctrl keydown shift keydown c; sleep 0.5; xdotool keyup c keyup shift keyup ctrl
  fi
  new_overlay "$before" || { echo "FAIL: the $step started no fresh capture"; exit 1; }
  settled_shot $step || { echo "FAIL: the capture after the $step never settled"; exit 1; }
  diff=$(compare -metric AE "$work/first.png" "$work/$step.png" null: 2>&1)
  if [ "$diff" != "0" ]; then
    echo "FAIL: after the $step, $diff pixels of the settings window differ from the first capture's"
    exit 1
  fi
done
echo "PASS: the captures show the settings window darkened, without the pin that lay over it or an earlier capture"
exit 0
