# Drives for the save-fault cases, sourced by run_e2e.sh: a small tmpfs that the cases fill
# (X:) and a read-only bind mount (Y:), each mapped into $WINEPREFIX and announced to the
# driver in WEXLY_E2E_FULL_DRIVE / WEXLY_E2E_READONLY_DRIVE. Both need root (mount); without
# it the variables stay unset and those cases report themselves skipped. Each drive also holds
# a copy of wexly.exe with a settings file beside it, for the settings file under the fault.
# shellcheck shell=bash

FAULT_DRIVES_BASE=""
FAULT_MOUNTS=()

# setup_fault_drives <win32 build dir>
setup_fault_drives() {
    local bin="$1" base
    [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/dosdevices" ] || return 0
    base="$(mktemp -d "$BUILD/fault-drives.XXXXXX")" || return 0
    FAULT_DRIVES_BASE="$base"
    mkdir -p "$base/full" "$base/ro-src" "$base/ro"
    local settings=$'[Wexly]\r\ngenTabSize=3\r\n[Mine]\r\nkeep=1\r\n'

    if mount -t tmpfs -o size=8m,mode=0777 wexly-e2e-full "$base/full" 2>/dev/null; then
        FAULT_MOUNTS+=("$base/full")
        if cp "$bin/wexly.exe" "$base/full/wexly.exe" && printf '%s' "$settings" >"$base/full/wexly.ini"; then
            ln -sfn "$base/full" "$WINEPREFIX/dosdevices/x:"
            export WEXLY_E2E_FULL_DRIVE="X:"
        fi
    else
        echo "note: no tmpfs mount here (not root or no capability): the full-drive cases are skipped" >&2
    fi

    cp "$bin/wexly.exe" "$base/ro-src/wexly.exe"
    printf '%s' "$settings" >"$base/ro-src/wexly.ini"
    printf 'read-only folder text\r\n' >"$base/ro-src/a.txt"
    if mount --bind "$base/ro-src" "$base/ro" 2>/dev/null; then
        FAULT_MOUNTS+=("$base/ro")
        if mount -o remount,bind,ro "$base/ro" 2>/dev/null; then
            ln -sfn "$base/ro" "$WINEPREFIX/dosdevices/y:"
            export WEXLY_E2E_READONLY_DRIVE="Y:"
        fi
    else
        echo "note: no bind mount here (not root or no capability): the read-only cases are skipped" >&2
    fi
}

# Unmounts what setup_fault_drives mounted (after Wine has let go of it) and removes the rest.
teardown_fault_drives() {
    local m i
    for ((i = ${#FAULT_MOUNTS[@]} - 1; i >= 0; i--)); do
        m="${FAULT_MOUNTS[$i]}"
        umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || echo "warning: could not unmount $m" >&2
    done
    FAULT_MOUNTS=()
    if [ -n "${WINEPREFIX:-}" ]; then
        rm -f "$WINEPREFIX/dosdevices/x:" "$WINEPREFIX/dosdevices/y:"
    fi
    if [ -n "$FAULT_DRIVES_BASE" ] && ! grep -q " $FAULT_DRIVES_BASE/" /proc/mounts; then
        rm -rf "$FAULT_DRIVES_BASE"
    fi
    FAULT_DRIVES_BASE=""
}
