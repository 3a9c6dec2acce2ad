#!/usr/bin/env bash
# Installs what building and testing need (Debian 12, apt-get only), then prepares the private
# Wine prefix under build/. Safe to run again: it installs only what is missing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

PACKAGES=(
    cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev python3
    g++-mingw-w64-i686 wine wine32:i386 fonts-wine xvfb x11-utils imagemagick xdotool
    clang libclang-rt-14-dev
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        echo "error: run as root (or install sudo) to install: ${MISSING[*]}" >&2
        exit 1
    fi
}

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

MISSING=()
for p in "${PACKAGES[@]}"; do
    installed "$p" || MISSING+=("$p")
done

if [ ${#MISSING[@]} -gt 0 ]; then
    log "installing: ${MISSING[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    # A mirror caught mid-sync fails one index; try again, then go on with what was fetched,
    # since the install below reports anything that is really missing.
    for attempt in 1 2 3; do
        as_root apt-get update -qq && break
        log "apt-get update failed (attempt $attempt); retrying"
        sleep $((attempt * 10))
    done
    install_missing() {
        as_root apt-get install -y -qq "${MISSING[@]}" </dev/null >>"${TMPDIR:-/tmp}/wexly-apt.log" 2>&1
    }
    : >"${TMPDIR:-/tmp}/wexly-apt.log"
    if ! install_missing; then
        # When the security index for i386 could not be fetched, its amd64 twin offers newer
        # libraries than i386 can match and the 32-bit Wine cannot be resolved. Prefer the
        # point release for this one install so both architectures agree.
        log "install failed; retrying with the security archive below the point release"
        PIN=/etc/apt/preferences.d/wexly-setup-pin
        printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 100\n' | as_root tee "$PIN" >/dev/null
        install_missing || STATUS=$?
        as_root rm -f "$PIN"
        if [ "${STATUS:-0}" -ne 0 ]; then
            tail -30 "${TMPDIR:-/tmp}/wexly-apt.log" >&2
            exit 1
        fi
    fi
fi

ensure_base_prefix
