# Shared by the X-input tests: programs started in the background are
# ended on exit, and waiting for a window title.
pids=()
# Ending `timeout` ends the Wine process it runs (it forwards the signal).
x11_cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; sleep 0.5; }
wait_for() {  # wait_for NAME_REGEX SECONDS
  local i
  for i in $(seq 1 $(( $2 * 10 ))); do
    xdotool search --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
solid_png() {  # solid_png PATH WIDTH HEIGHT R G B: a one-colour RGB PNG
  python3 - "$@" <<'PY'
import struct, sys, zlib
path, w, h, r, g, b = sys.argv[1], *map(int, sys.argv[2:])
raw = b"".join(b"\0" + bytes((r, g, b)) * w for _ in range(h))
def chunk(t, d): return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)) \
    + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")
open(path, "wb").write(png)
PY
}
