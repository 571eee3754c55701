#!/usr/bin/env bash
# Screenshots of the three windows under Xvfb, at 96 and 144 DPI, into docs/screenshots/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$ZV_ROOT"
zv_need_build_tools
zv_need_wine
zv_need import:imagemagick
cmake --preset cross >/dev/null
cmake --build --preset cross --target screenshot_driver
trap zv_cleanup EXIT
unset DISPLAY
zv_start_display --private
zv_start_wine 96
mkdir -p docs/screenshots

shoot() { # window dpi
    local rect_file="$ZV_WINE_DIR/rect.txt" out="docs/screenshots/$1-$2dpi.png"
    rm -f "$rect_file"
    "$ZV_WINE" build/cross/tools/screenshots/screenshot_driver.exe "$1" "$(winepath -w "$rect_file")" &
    local driver=$! i
    for i in $(seq 1 300); do
        [ -s "$rect_file" ] && break
        sleep 0.1
    done
    if [ ! -s "$rect_file" ]; then
        zv_log "no $1 window to picture"
        kill "$driver" 2>/dev/null || true
        return 1
    fi
    read -r x y w h <"$rect_file"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out"
    rm -f "$rect_file"
    timeout 60 tail --pid="$driver" -f /dev/null || true
    zv_log "wrote $out"
}

for window in main about config passphrase; do
    shoot "$window" 96
done
zv_set_dpi 144
shoot main 144
shoot config 144
shoot passphrase 144
