#!/usr/bin/env bash
# Runs the end-to-end tests: wexly_e2e.exe from the win32 build directory ($1), under Wine on
# the current DISPLAY. Without a display or prefix of its own it starts a private Xvfb and a
# fresh prefix with a virtual desktop, and stops both afterwards. The save-fault cases get
# their drives from fault_drives.sh, unmounted again however the run ends.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/fault_drives.sh"

BIN="${1:-$WIN32_DIR}"
own_wine_session wineprefix-e2e || exit 1

# Wine lets go of the drives when its session ends; in a shared session (test.sh), which goes
# on, the driver's processes have ended and a drive still held is unmounted lazily.
end_run() {
    if [ "${OWN_SESSION:-0}" = 1 ]; then
        wineserver -k 2>/dev/null || true
    fi
    teardown_fault_drives
    end_own_wine_session
}
trap end_run EXIT
setup_fault_drives "$BIN"

timeout 420 wine "$BIN/wexly_e2e.exe" "" "${E2E_FILTER:-}"
