#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan and UBSan, build/clang) and
# runs each for the given number of seconds (default 60), two at a time.
# Corpora grow in build/clang/fuzz-corpus/<target>; a crash leaves its
# input in build/clang/fuzz-findings/<target>/ and fails the run.
#   bash scripts/fuzz.sh [seconds] [target ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}
shift || true
bash scripts/deps.sh
b=${VARDO_BUILD_DIR:-$root/build}
c=$b/clang
bash scripts/build.sh clang
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(imagesize_fuzz quantize_fuzz stored_value_fuzz key_capture_fuzz)
python3 fuzz/seeds.py "$c/fuzz-seeds"

run() {
  local t=$1 corpus=$c/fuzz-corpus/$1 found=$c/fuzz-findings/$1
  mkdir -p "$corpus" "$found"
  local max=4096
  # -rss_limit_mb keeps a runaway allocation a finding, not a dead machine.
  if "$c/fuzz/$t" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=1024 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$found/" "$corpus" "$c/fuzz-seeds/$t" >"$c/fuzz-$t.log" 2>&1; then
    echo "$t: $(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$c/fuzz-$t.log" | grep -Eo '[0-9]+$') runs in ${seconds}s, no findings, corpus $(ls "$corpus" | wc -l)"
  else
    echo "$t: FINDING (see $c/fuzz-$t.log and $found)"
    tail -40 "$c/fuzz-$t.log"
    return 1
  fi
}

status=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  pids=()
  for t in "${targets[@]:i:2}"; do
    run "$t" &
    pids+=($!)
  done
  for p in "${pids[@]}"; do wait "$p" || status=1; done
done
exit $status
