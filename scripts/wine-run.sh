#!/usr/bin/env bash
# Runs a Windows program under Wine with a time limit (CTest's emulator).
# The limit stays below CTest's per-test time-out so that Wine is asked to
# stop first and the test's job object then ends every program it started.
# Expects the environment of wine-env.sh (display, prefix).
exec timeout -k 5 "${VARDO_WINE_TIMEOUT:-100}" wine "$@"
