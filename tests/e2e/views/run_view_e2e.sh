#!/usr/bin/env bash
# Runs the editor and viewer window tests: wexly_view_e2e.exe from the win32 build directory
# ($1), which starts ViewHost.exe beside it, under Wine on the current DISPLAY. Without a
# display or prefix of its own it starts a private Xvfb and a fresh prefix with a virtual
# desktop, and stops both afterwards. E2E_FILTER picks tests by a part of their name.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/common.sh"

BIN="${1:-$WIN32_DIR}"
own_wine_session wineprefix-view-e2e || exit 1

timeout 600 wine "$BIN/wexly_view_e2e.exe" "" "${E2E_FILTER:-}"
