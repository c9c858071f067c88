# Source this file (do not run it). It gives a headless Windows session:
#   vardo_display_start [WIDTHxHEIGHT]  Xvfb on a free display, known desktop picture
#   vardo_prefix_create DIR             fresh Wine prefix, tuned for tests
#   vardo_env_stop                      stops Wine and Xvfb of this shell
#   vardo_steady CMD [ARGS...]          runs CMD with 4 KB pages and a fixed layout
# The prefix's own Wine processes run as vardo_steady runs its command.
# Everything is exported into the current shell, so call the functions
# directly, never from a background subshell.

VARDO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

vardo_display_start() {
  local size=${1:-1920x1080}
  local n=$((100 + RANDOM % 400))
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  VARDO_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start on $DISPLAY" >&2; return 1; }
  local w=${size%x*} h=${size#*x}
  # A second, smaller mode beside the screen's own, for the tests that
  # change the resolution as the display settings do.
  local sw=$((w * 2 / 3 / 8 * 8)) sh=$((h * 2 / 3))
  xrandr --newmode "${sw}x${sh}" $(((sw + 160) * (sh + 30) * 60 / 1000000)) \
    "$sw" $((sw + 48)) $((sw + 80)) $((sw + 160)) "$sh" $((sh + 3)) $((sh + 8)) $((sh + 30)) >/dev/null 2>&1 &&
    xrandr --addmode screen "${sw}x${sh}" >/dev/null 2>&1 || true
  local pic="${VARDO_DESKTOP_DIR:-/tmp}/vardo-desktop-${w}x${h}.ppm"
  [ -s "$pic" ] || python3 "$VARDO_ROOT/tests/tools/make_desktop.py" "$w" "$h" "$pic"
  # display(1) exits non-zero after setting a root background; that is fine.
  display -window root "$pic" >/dev/null 2>&1 || true
  export VARDO_DESKTOP_PICTURE="$pic"
}

vardo_prefix_create() {
  export WINEPREFIX="$1"
  export WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  vardo_steady timeout 180 wineboot -i >/dev/null 2>&1 || { echo "wineboot failed" >&2; return 1; }
  wineserver -w
  # CJK captions: link the UI fonts to a CJK font, as Windows does.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  cp /usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf "$fonts/" 2>/dev/null || true
  cp /usr/share/wine/fonts/tahoma*.ttf "$fonts/" 2>/dev/null || true
  local reg="$WINEPREFIX/vardo-test.reg"
  python3 - "$reg" <<'PY'
import sys
link = 'DroidSansFallbackFull.ttf,Droid Sans Fallback'
# REGEDIT4 files carry hex(7) strings as ANSI bytes (UTF-16 here splits every
# character into its own string).
data = (link + '\0\0').encode('ascii')
hexs = ','.join('%02x' % b for b in data)
# (Not Consolas: a linked face that the prefix lacks draws even its Latin
# letters from the CJK font, which has none, so pin captions showed boxes.)
faces = ['Tahoma', 'MS Shell Dlg', 'MS Shell Dlg 2', 'Microsoft Sans Serif', 'Segoe UI',
         'Arial', 'Verdana', 'Microsoft YaHei UI', 'SimSun']
lines = ['REGEDIT4', '',
         '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]', '"Managed"="N"', '',
         '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]', '"ShowCrashDialog"=dword:00000000', '',
         '[HKEY_CURRENT_USER\\Control Panel\\Desktop]', '"LogPixels"=dword:00000060', '',
         '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]']
lines += ['"%s"=hex(7):%s' % (f, hexs) for f in faces]
# Faces Windows always has but a fresh prefix lacks: without a stand-in they
# render as empty boxes. Wine's Tahoma carries the CJK link above.
lines += ['', '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]']
lines += ['"%s"="Tahoma"' % f for f in ('Arial', 'Verdana', 'Segoe UI', 'Microsoft YaHei UI')]
lines += ['"Consolas"="Courier"']
open(sys.argv[1], 'w', encoding='ascii').write('\r\n'.join(lines) + '\r\n')
PY
  vardo_steady timeout 60 wine regedit /S "$reg" >/dev/null 2>&1
  wineserver -w
  # Keep a server warm for the run (the first window then takes a tenth),
  # and keep one idle Wine process alive so that Wine's own services start
  # now, detached from our output: services started later by a test would
  # inherit its output pipe and hold it open after the test ends.
  vardo_steady wineserver -p >/dev/null 2>&1 </dev/null
  ( sleep 1000000 | vardo_steady wine cmd /c "set /p x=" ) >/dev/null 2>&1 </dev/null &
  VARDO_KEEPER_PID=$!
  local i
  for i in $(seq 1 100); do
    pgrep -f 'system32\\services.exe' >/dev/null 2>&1 && break
    sleep 0.1
  done
}

# Runs a command, and every process it starts (both settings are inherited),
# with transparent huge pages off and the address layout not randomised.
#
# Pages: where the kernel backs memory with 2 MB pages whenever it can
# (transparent_hugepage/enabled is "always"), a process's resident size grows
# in 2 MB steps and khugepaged fills partly used regions while the process
# runs, so resident sizes read by the tests and benchmarks would not show what
# a program keeps. Windows gives programs 4 KB pages.
#
# Layout: recent kernels place the start of a program's data segment (brk)
# anywhere in a 1 GB span above Wine's loader, and now and then it lands on
# 0x7ffe0000, the fixed address every Windows process needs for its shared
# user data. Wine then fails the process before any of its code runs: "failed
# to map the shared user data: c0000018" in Wine's log, error 1359 for the
# CreateProcess that started it. That was about one start in 3000 here, so
# one in every few test runs. Without randomisation the data segment sits
# right after the loader, clear of that address.
vardo_steady() {
  python3 -c '
import ctypes, os, sys
libc = ctypes.CDLL(None, use_errno=True)
libc.prctl(41, 1, 0, 0, 0)  # PR_SET_THP_DISABLE
libc.personality(libc.personality(0xffffffff) | 0x0040000)  # ADDR_NO_RANDOMIZE
os.execvp(sys.argv[1], sys.argv[1:])' "$@"
}

vardo_env_stop() {
  if [ -n "${VARDO_KEEPER_PID:-}" ]; then
    pkill -P "$VARDO_KEEPER_PID" >/dev/null 2>&1 || true
    VARDO_KEEPER_PID=""
  fi
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "${VARDO_XVFB_PID:-}" ]; then
    kill "$VARDO_XVFB_PID" >/dev/null 2>&1 || true
    wait "$VARDO_XVFB_PID" 2>/dev/null || true
    VARDO_XVFB_PID=""
  fi
}
