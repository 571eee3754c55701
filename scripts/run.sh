#!/usr/bin/env bash
# Builds zelvaran.exe and starts it under Wine, in a throwaway prefix. With no $DISPLAY it runs
# on a private virtual display for ZELVARAN_RUN_SECONDS (default 60) and leaves a screenshot.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$ZV_ROOT"

zv_need_build_tools
zv_need_wine
cmake --preset cross >/dev/null
cmake --build --preset cross --target zelvaran zelvaran_help

trap zv_cleanup EXIT
virtual=
if [ -z "${DISPLAY:-}" ]; then
    zv_need import:imagemagick
    zv_start_display --private
    virtual=1
fi
zv_start_wine 96

cd build/cross
if [ -n "$virtual" ]; then
    seconds=${ZELVARAN_RUN_SECONDS:-60}
    zv_log "no display: zelvaran.exe runs on the virtual display $DISPLAY for $seconds s"
    "$ZV_WINE" zelvaran.exe &
    sleep 5
    import -window root "$ZV_ROOT/build/run.png" && zv_log "screenshot: build/run.png"
    sleep "$((seconds > 5 ? seconds - 5 : 0))"
    wineserver -k || true
else
    "$ZV_WINE" zelvaran.exe
fi
