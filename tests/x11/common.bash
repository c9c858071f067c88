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
