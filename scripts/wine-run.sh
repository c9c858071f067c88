#!/usr/bin/env bash
# Runs a Windows program under Wine with a time limit (CTest's emulator).
# Expects the environment of wine-env.sh (display, prefix).
exec timeout -k 5 "${VARDO_WINE_TIMEOUT:-180}" wine "$@"
