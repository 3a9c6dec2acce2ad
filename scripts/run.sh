#!/usr/bin/env bash
# Sets up (if needed), builds wexly.exe and starts it under Wine with the given files. Without
# a usable display it runs the editor on a private Xvfb, saves a screenshot under
# build/screenshots/ after a few seconds, says where, and stops the editor again.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$ROOT/scripts/setup.sh"
configure_win32
cmake --build "$WIN32_DIR" -j "$JOBS" --target wexly >/dev/null

export WINEPREFIX="$BUILD/wineprefix"
[ -f "$WINEPREFIX/system.reg" ] || make_prefix "$WINEPREFIX"

# Unix absolute paths would read as options ("/home/..."): hand them over as Windows paths.
ARGS=()
for a in "$@"; do
    if [[ "$a" == /*/* ]] || { [[ "$a" == /* ]] && [ -e "$a" ]; }; then
        ARGS+=("$(winepath -w "$a" 2>/dev/null || echo "$a")")
    else
        ARGS+=("$a")
    fi
done

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec wine "$WIN32_DIR/wexly.exe" "${ARGS[@]}"
fi

echo "No display found: starting wexly.exe on a private Xvfb." >&2
trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT
start_xvfb
EXE="$(winepath -w "$WIN32_DIR/wexly.exe")"
wine explorer /desktop=Wexly2,1024x768 "$EXE" "${ARGS[@]}" >/dev/null 2>&1 &
sleep "${WEXLY_SHOT_DELAY:-6}"
mkdir -p "$BUILD/screenshots"
SHOT="$BUILD/screenshots/wexly-$(date +%Y%m%d-%H%M%S).png"
import -window root "$SHOT"
echo "Screenshot of the editor saved to $SHOT"
