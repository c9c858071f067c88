#!/usr/bin/env bash
# Runs a Windows program under Wine with a time limit (CTest's emulator).
# The limit stays below CTest's per-test time-out so that Wine is asked to
# stop first and the test's job object then ends every program it started.
# Expects the environment of wine-env.sh (display, prefix).
limit=${VARDO_WINE_TIMEOUT:-100}
case " $* " in
  *" --gtest_list_tests "*)
    # Test discovery: one failed Wine start would drop every test of the
    # program from the run, so a listing that fails or comes back empty is
    # tried again.
    for attempt in 1 2 3; do
      out=$(timeout -k 5 60 wine "$@" 2>/tmp/vardo-list-$$.err)
      rc=$?
      if [ $rc -eq 0 ] && [ -n "$out" ]; then
        printf '%s\n' "$out"
        rm -f /tmp/vardo-list-$$.err
        exit 0
      fi
      echo "test listing failed (attempt $attempt, rc $rc): $(head -c 500 /tmp/vardo-list-$$.err)" >&2
      sleep 1
    done
    rm -f /tmp/vardo-list-$$.err
    exit 1
    ;;
esac
exec timeout -k 5 "$limit" wine "$@"
