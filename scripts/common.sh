# Shared by the scripts: paths, the private Wine prefixes and a private Xvfb.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"
NATIVE_DIR="$BUILD/native"
WIN32_DIR="$BUILD/win32"
BASE_PREFIX="$BUILD/wineprefix-base"
JOBS="${JOBS:-2}"

export WINEDEBUG=-all
export WINEARCH=win32
# No Mono or Gecko download prompts: the editor needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="

log() { echo "== $*" >&2; }

# The pristine prefix every run copies from; created once (about 13 s).
ensure_base_prefix() {
    if [ -f "$BASE_PREFIX/system.reg" ] && [ -f "$BASE_PREFIX/.wexly-ready-2" ]; then
        return 0
    fi
    log "creating the Wine prefix $BASE_PREFIX"
    rm -rf "$BASE_PREFIX"
    mkdir -p "$BUILD"
    WINEPREFIX="$BASE_PREFIX" DISPLAY= wineboot --init >/dev/null 2>&1 || true
    WINEPREFIX="$BASE_PREFIX" wineserver -w 2>/dev/null || true
    if [ ! -f "$BASE_PREFIX/system.reg" ]; then
        echo "error: wineboot did not create $BASE_PREFIX" >&2
        return 1
    fi
    # Wine does not find its own fonts (fonts-wine) on this system by itself; without them the
    # caption buttons show letters and dialogs fall back to other faces.
    local fonts="$BASE_PREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    if [ -d /usr/share/wine/fonts ]; then
        cp -s -n /usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true
    fi
    touch "$BASE_PREFIX/.wexly-ready-2"
}

# Copies the base prefix to $1. Large files are hard-linked (Wine replaces rather than rewrites
# them); the registry files are copied because wineserver writes them back.
make_prefix() {
    local dest="$1"
    ensure_base_prefix
    rm -rf "$dest"
    cp -al "$BASE_PREFIX" "$dest"
    local f
    for f in system.reg user.reg userdef.reg; do
        if [ -f "$BASE_PREFIX/$f" ]; then
            rm -f "$dest/$f"
            cp "$BASE_PREFIX/$f" "$dest/$f"
        fi
    done
}

# Makes every program of the prefix run inside one virtual desktop window, which behaves like
# Windows (activation, focus, title bars) even on an X server without a window manager.
set_virtual_desktop() {
    local prefix="$1" size="${2:-1280x1024}"
    cat >>"$prefix/user.reg" <<REG

[Software\\\\Wine\\\\Explorer] 1700000000
"Desktop"="Default"

[Software\\\\Wine\\\\Explorer\\\\Desktops] 1700000000
"Default"="$size"
REG
}

# Starts a private Xvfb on a free display; sets XVFB_PID and exports DISPLAY.
start_xvfb() {
    local n
    for n in $(seq 90 140); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
            XVFB_PID=$!
            local i
            for i in $(seq 1 50); do
                if [ -e "/tmp/.X11-unix/X$n" ]; then
                    export DISPLAY=":$n"
                    return 0
                fi
                if ! kill -0 "$XVFB_PID" 2>/dev/null; then
                    break
                fi
                sleep 0.1
            done
            kill "$XVFB_PID" 2>/dev/null || true
        fi
    done
    echo "error: could not start Xvfb" >&2
    return 1
}

stop_xvfb() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}

configure_native() {
    cmake -S "$ROOT" -B "$NATIVE_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWEXLY_SANITIZE=ON \
        -DWEXLY_WERROR="${WEXLY_WERROR:-OFF}" >/dev/null
}

configure_win32() {
    cmake -S "$ROOT" -B "$WIN32_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
        -DWEXLY_WERROR="${WEXLY_WERROR:-OFF}" >/dev/null
}

# For a driver run on its own: without the test command's display and prefix, starts a private
# Xvfb and a fresh prefix named $1 with a virtual desktop, stopped again when the script exits.
own_wine_session() {
    OWN_SESSION=0
    [ -n "${WEXLY_E2E_READY:-}" ] && return 0
    start_xvfb || return 1
    export WINEPREFIX="$BUILD/$1"
    make_prefix "$WINEPREFIX"
    set_virtual_desktop "$WINEPREFIX"
    wineserver -p
    OWN_SESSION=1
    trap end_own_wine_session EXIT
}

end_own_wine_session() {
    if [ "${OWN_SESSION:-0}" = 1 ]; then
        wineserver -k 2>/dev/null || true
        stop_xvfb
    fi
}
