#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's private prefix; the exit code is the
# program's. CTest uses it for the Windows unit tests. WINEPREFIX, when set, is used as given.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if [ $# -lt 1 ]; then
    echo "usage: $0 program.exe [arguments...]" >&2
    exit 2
fi
if [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX="$BUILD/wineprefix-ctest"
    [ -f "$WINEPREFIX/system.reg" ] || make_prefix "$WINEPREFIX"
fi
exec wine "$@"
