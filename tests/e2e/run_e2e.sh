#!/usr/bin/env bash
# Runs the end-to-end tests: wexly_e2e.exe from the win32 build directory ($1), under Wine on
# the current DISPLAY. Without a display or prefix of its own it starts a private Xvfb and a
# fresh prefix with a virtual desktop, and stops both afterwards.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

BIN="${1:-$WIN32_DIR}"
own_wine_session wineprefix-e2e || exit 1

timeout 300 wine "$BIN/wexly_e2e.exe" "" "${E2E_FILTER:-}"
