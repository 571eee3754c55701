# Shared steps of the build, run and test commands. Sourced, not run.
# Every wait here is bounded, so no command can hang on a stuck Xvfb or Wine.

ZV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Every wine the scripts start goes through this: a plain wine fails to start now and then.
ZV_WINE=$ZV_ROOT/scripts/wine.sh

zv_log() { printf '== %s\n' "$*" >&2; }

# Installs the Debian packages whose commands are missing. Arguments: command:package pairs.
zv_need() {
    local missing=() pair
    for pair in "$@"; do
        local cmd=${pair%%:*} pkg=${pair#*:}
        case $cmd in
        /*) [ -e "$cmd" ] || missing+=("$pkg") ;;
        *) command -v "$cmd" >/dev/null 2>&1 || missing+=("$pkg") ;;
        esac
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    zv_log "installing: ${missing[*]}"
    timeout 600 $sudo apt-get update -qq || true
    DEBIAN_FRONTEND=noninteractive timeout 1200 $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

zv_need_build_tools() {
    zv_need cmake:cmake ninja:ninja-build g++:g++ /usr/src/googletest/CMakeLists.txt:googletest \
        x86_64-w64-mingw32-g++-posix:mingw-w64 chmcmd:fp-utils makensis:nsis zip:zip \
        /usr/include/zlib.h:zlib1g-dev /usr/x86_64-w64-mingw32/lib/libz.a:libz-mingw-w64-dev
}

zv_need_wine() {
    # Wine's own fonts: without them every face falls back to a wider one and captions are cut.
    zv_need wine:wine /usr/lib/wine/wine64:wine64 Xvfb:xvfb xdpyinfo:x11-utils \
        /usr/share/wine/fonts/tahoma.ttf:fonts-wine
}

# Starts a private Xvfb unless a display is already given. Sets DISPLAY and ZV_XVFB_PID.
zv_start_display() {
    ZV_XVFB_PID=
    if [ -n "${DISPLAY:-}" ] && [ "${1:-}" != --private ]; then
        return 0
    fi
    # Xvfb picks a free display number itself and writes it once it takes connections: two runs
    # started at the same moment then never share one display (and its clipboard).
    local number
    number=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
    ZV_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        if [ -s "$number" ]; then
            export DISPLAY=":$(tr -d '[:space:]' <"$number")"
            rm -f "$number"
            xdpyinfo >/dev/null 2>&1 && return 0
            break
        fi
        sleep 0.1
    done
    rm -f "$number"
    zv_log "Xvfb did not start"
    return 1
}

zv_reg() {
    # reg.exe by full path: a reg.exe in the current directory would win otherwise.
    timeout 60 "$ZV_WINE" 'C:\windows\system32\reg.exe' "$@" >/dev/null 2>&1
}

# A throwaway Wine prefix with one persistent wineserver. Sets WINEPREFIX and friends.
zv_start_wine() {
    local dpi=${1:-96}
    ZV_WINE_DIR=$(mktemp -d /tmp/zelvaran-wine.XXXXXX)
    export WINEPREFIX="$ZV_WINE_DIR/prefix" WINEARCH=win64 WINEDEBUG=-all
    # No Mono or Gecko install prompts.
    export WINEDLLOVERRIDES='mscoree,mshtml='
    timeout 300 "$ZV_WINE" wineboot.exe -i >/dev/null 2>&1 || { zv_log "wineboot failed"; return 1; }
    timeout 60 wineserver -w || true
    # Debian's Wine does not look in its own font folder: without Tahoma every dialog font falls
    # back to a wider face and captions are cut, and without Marlett caption buttons are letters.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    zv_configure_prefix "$dpi"
    zv_start_wineserver
}

zv_configure_prefix() {
    local dpi=$1
    # A virtual desktop avoids the window-manager stall on every hide and minimise on a bare
    # Xvfb; on a real desktop the program gets ordinary windows.
    if [ -n "${ZV_XVFB_PID:-}" ]; then
        zv_reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
        zv_reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f
    fi
    zv_reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
    timeout 60 wineserver -w || true
}

zv_start_wineserver() {
    wineserver -p >/dev/null 2>&1 </dev/null
    # Warm up once so the first test does not pay for the desktop.
    timeout 60 "$ZV_WINE" cmd /c exit >/dev/null 2>&1 || true
}

# Changes the prefix's DPI. Running processes would see mixed values, so the server restarts.
zv_set_dpi() {
    # Written through the running persistent server, which saves it as it stops. A reg.exe run with
    # no server would start a server and services of its own; one that outlived the bounded wait
    # held the next ctest's output pipe open, and ctest hung.
    zv_reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f
    zv_stop_wineserver
    zv_start_wineserver
}

zv_stop_wineserver() {
    [ -n "${WINEPREFIX:-}" ] || return 0
    wineserver -k >/dev/null 2>&1 || true
    timeout 20 wineserver -w >/dev/null 2>&1 || true
}

zv_cleanup() {
    zv_stop_wineserver
    if [ -n "${ZV_XVFB_PID:-}" ]; then
        kill "$ZV_XVFB_PID" 2>/dev/null || true
        wait "$ZV_XVFB_PID" 2>/dev/null || true
    fi
    [ -n "${ZV_WINE_DIR:-}" ] && rm -rf "$ZV_WINE_DIR"
    return 0
}
